#include "core/base/version.h"

namespace quill {

QString programVersion() { return QStringLiteral(QUILLMERE_VERSION); }

}  // namespace quill
