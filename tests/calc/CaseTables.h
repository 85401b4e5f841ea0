#pragma once

#include <QString>

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace corvanta::test {

// An optional result text in a form GoogleTest prints readably; nullptr in an
// expectation table stands for "not written".
inline std::string shown(const std::optional<QString>& text)
{
    return text ? text->toStdString() : std::string("<not written>");
}

inline std::string expected(const char* text)
{
    return text ? std::string(text) : std::string("<not written>");
}

// Names parameterised cases after the `name` field of their table row.
struct CaseName {
    template <class Case> std::string operator()(const ::testing::TestParamInfo<Case>& row) const
    {
        return row.param.name;
    }
};

} // namespace corvanta::test
