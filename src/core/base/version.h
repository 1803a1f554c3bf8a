#pragma once

#include <QString>

namespace quill {

// The program's version as the build states it ("0.1"), shown by --version of both programs.
QString programVersion();

}  // namespace quill
