#pragma once
// Names for parameterised test cases, made from prose.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace testsupport {

// A test name from prose: every character but a letter or digit becomes "_".
inline std::string caseName(std::string prose) {
    for (char& c : prose)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return prose;
}

// Names parameterised cases after their `what`.
struct CaseName {
    template <class P>
    std::string operator()(const ::testing::TestParamInfo<P>& p) const {
        return caseName(p.param.what);
    }
};

}  // namespace testsupport
