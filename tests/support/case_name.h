// The name of a parameterised test's case: every case table carries a `name`.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace test_support {

template <class Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

}  // namespace test_support
