#include "tests/support/vb_error_of.h"
#include "platform/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/vb_error.h"

using namespace platform;

using testsupport::errorOf;

TEST(Numbers, Val) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {
        {"", 0},
        {"abc", 0},
        {"12", 12},
        {"  12", 12},
        {"\t\r\n7", 7},
        {"1 2", 12},
        {" 1 2 3 ", 123},
        {"-5", -5},
        {"+5", 5},
        {"- 5", -5},
        {"--5", 0},
        {"  -3.5x", -3.5},
        {"3.5.6", 3.5},
        {".5", 0.5},
        {"5.", 5},
        {"1e3", 1000},
        {"1E-2", 0.01},
        {"1D2", 100},
        {"1d+2", 100},
        {"1e", 1},
        {"1e+", 1},
        {"2e3x", 2000},
        {"1,000", 1},
        {"12abc3", 12},
        {"&H666666", 6710886},
        {"&HFFFF", -1},
        {"&hff", 255},
        {"&H7FFF", 32767},
        {"&H8000", -32768},
        {"&H10000", 65536},
        {"&H80000012", -2147483630},
        {"&HFFFFFFFF", -1},
        {"&HZ", 0},
        {"&O17", 15},
        {"&o177777", -1},
        {"&", 0},
        {"&X12", 0},
        {"&H 1F", 31},
        {"1e-400", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(val(c.text), c.value) << '"' << c.text << '"';
    EXPECT_EQ(errorOf([] { val("&H100000000"); }), 6);
    EXPECT_EQ(errorOf([] { val("1e400"); }), 6);
}

TEST(Numbers, BankersRounding) {
    struct Case {
        double x;
        int expect;
    } cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2},   {3.5, 4},         {-0.5, 0},          {-1.5, -2},         {-2.5, -2},
                 {2.4, 2}, {2.6, 3}, {-2.6, -3}, {32767.4, 32767}, {-32768.5, -32768}, {-32767.5, -32768}, {0, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(cint(c.x), c.expect) << c.x;
        EXPECT_EQ(clng(c.x), c.expect) << c.x;
    }
    EXPECT_EQ(clng(2147483646.5), 2147483646);
    EXPECT_EQ(clng(-2147483648.5), -2147483648);
}

TEST(Numbers, Overflow) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double x : {32767.5, 32768.0, -32768.6, -32769.0, nan, inf, -inf})
        EXPECT_EQ(errorOf([&] { cint(x); }), 6) << x;
    for (double x : {2147483647.5, -2147483648.6, 1e10, nan, inf}) EXPECT_EQ(errorOf([&] { clng(x); }), 6) << x;
}

TEST(Numbers, CintText) {
    EXPECT_EQ(cintText(" 2.5 "), 2);
    EXPECT_EQ(cintText("abc"), 0);
    EXPECT_EQ(cintText("&HFFFF"), -1);
    EXPECT_EQ(errorOf([] { cintText("40000"); }), 6);
}

TEST(Numbers, Format) {
    struct Case {
        double x;
        const char* text;
    } cases[] = {
        {0, "0"},           {-0.0, "0"},        {5, "5"},     {-5, "-5"},       {123456789012345, "123456789012345"},
        {1e15, "1E+15"},    {1e20, "1E+20"},    {0.5, "0.5"}, {-2.25, "-2.25"}, {1.0 / 3, "0.333333333333333"},
        {0.1 + 0.2, "0.3"}, {2.5e-7, "2.5E-07"}};
    for (const auto& c : cases) EXPECT_EQ(formatNumber(c.x), c.text) << c.x;
    EXPECT_EQ(cstr(42), "42");
    EXPECT_EQ(cstr(-7), "-7");
}
