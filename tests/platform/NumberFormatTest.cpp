#include "platform/NumberFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using NumberFormat::fixed;
using NumberFormat::shortestDouble;

TEST(NumberFormat, DecimalFormKeepsAFractionalDigitAndShortestDigits)
{
    EXPECT_EQ(shortestDouble(10.0), QStringLiteral("10.0"));
    EXPECT_EQ(shortestDouble(2.5), QStringLiteral("2.5"));
    EXPECT_EQ(shortestDouble(0.8), QStringLiteral("0.8"));
    EXPECT_EQ(shortestDouble(0.1 * 7), QStringLiteral("0.7000000000000001"));
    EXPECT_EQ(shortestDouble(-0.5), QStringLiteral("-0.5"));
    EXPECT_EQ(shortestDouble(0.0), QStringLiteral("0.0"));
    EXPECT_EQ(shortestDouble(-0.0), QStringLiteral("-0.0"));
    EXPECT_EQ(shortestDouble(1440.0), QStringLiteral("1440.0"));
    EXPECT_EQ(shortestDouble(1234.5678), QStringLiteral("1234.5678"));
    EXPECT_EQ(shortestDouble(0.0001), QStringLiteral("0.0001"));
    EXPECT_EQ(shortestDouble(0.00012), QStringLiteral("0.00012"));
    EXPECT_EQ(shortestDouble(9007199254740992.0), QStringLiteral("9007199254740992.0")); // 2^53
    EXPECT_EQ(shortestDouble(1e15), QStringLiteral("1000000000000000.0"));
}

TEST(NumberFormat, ExponentialFormOutsideTheDecimalRange)
{
    EXPECT_EQ(shortestDouble(0.00001), QStringLiteral("1e-05"));
    EXPECT_EQ(shortestDouble(0.000099), QStringLiteral("9.9e-05"));
    EXPECT_EQ(shortestDouble(1e16), QStringLiteral("1e+16"));
    EXPECT_EQ(shortestDouble(9007199254740994.0), QStringLiteral("9.007199254740994e+15"));
    EXPECT_EQ(shortestDouble(-1.5e300), QStringLiteral("-1.5e+300"));
    EXPECT_EQ(shortestDouble(5e-324), QStringLiteral("5e-324"));
    EXPECT_EQ(shortestDouble(std::numeric_limits<double>::max()), QStringLiteral("1.7976931348623157e+308"));
}

TEST(NumberFormat, SpecialValues)
{
    EXPECT_EQ(shortestDouble(std::numeric_limits<double>::quiet_NaN()), QStringLiteral("nan"));
    EXPECT_EQ(shortestDouble(std::numeric_limits<double>::infinity()), QStringLiteral("inf"));
    EXPECT_EQ(shortestDouble(-std::numeric_limits<double>::infinity()), QStringLiteral("-inf"));
}

TEST(NumberFormat, FixedFollowsPrintf)
{
    EXPECT_EQ(fixed(0.5, 1), QStringLiteral("0.5"));
    EXPECT_EQ(fixed(2.25, 1), QStringLiteral("2.2")); // 2.25 is exact: ties go to even
    EXPECT_EQ(fixed(0.35, 1), QStringLiteral("0.3")); // 0.35 is stored slightly below
    EXPECT_EQ(fixed(12.0, 0), QStringLiteral("12"));
    EXPECT_EQ(fixed(-0.04, 1), QStringLiteral("-0.0"));
    EXPECT_EQ(fixed(1e20, 2), QStringLiteral("100000000000000000000.00"));
    EXPECT_EQ(fixed(1.0, -3), QStringLiteral("1"));
    EXPECT_EQ(fixed(std::nan(""), 1), QStringLiteral("nan"));
}
