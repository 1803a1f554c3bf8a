#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace quill::testing {

// Names a parameterised row after its `name`, each character gtest refuses in a name made '_'.
struct RowName {
  template <class Row>
  std::string operator()(const ::testing::TestParamInfo<Row>& info) const {
    std::string name = info.param.name;
    for (char& ch : name) ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
    return name;
  }
};

}  // namespace quill::testing
