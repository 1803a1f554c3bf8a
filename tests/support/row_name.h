#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace quill::testing {

// Names each row of a parameterised table after its `name` field, with every character gtest
// does not take in a test name made '_', so that a failure names the row.
struct RowName {
  template <class Row>
  std::string operator()(const ::testing::TestParamInfo<Row>& info) const {
    std::string name = info.param.name;
    for (char& ch : name) ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
    return name;
  }
};

}  // namespace quill::testing
