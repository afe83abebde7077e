#include "engine/calc_error.h"
#include "worksheet/number_text.h"
#include "worksheet/result_format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

namespace quillet {
namespace {

struct DecimalCase {
    Complex value;
    std::uint32_t precision;
    std::string_view text;
};

TEST(FormatComplex, GeneralNotationWithSignificantDigits) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const DecimalCase cases[] = {
        {{3, 0}, 12, "3"},
        {{1e20, 0}, 12, "1e+20"},
        {{kPi, 0}, 12, "3.14159265359"},
        {{kPi, 0}, 15, "3.14159265358979"},
        {{kPi, 0}, 4, "3.142"},
        {{kPi, 0}, 1, "3"},
        {{kPi, 0}, 0, "3.14159"}, // 0 means the default of six digits
        {{1.0 / 3, 0}, 12, "0.333333333333"},
        {{1073741824, 0}, 12, "1073741824"},
        {{1099511627776, 0}, 12, "1.09951162778e+12"},
        {{0.1 + 0.2, 0}, 15, "0.3"},
        {{1e-5, 0}, 12, "1e-05"},
        {{0, 1}, 12, "0 + 1i"},
        {{-1, -2}, 12, "-1 - 2i"},
        {{3, 4}, 12, "3 + 4i"},
        {{3, -0.0}, 12, "3"},
        {{-0.0, 0}, 12, "-0"},
        {{inf, 0}, 12, "inf"},
        {{-inf, 0}, 12, "-inf"},
        {{nan, 0}, 12, "nan"},
        {{-nan, 0}, 12, "-nan"},
        {{1, inf}, 12, "1 + infi"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(formatComplex(c.value, c.precision), c.text);
    }
}

TEST(FormatComplex, PointOneAndPointTwoIsPointThreeAtEveryPrecisionUpTo15) {
    for (std::uint32_t precision = 0; precision <= 15; ++precision) {
        SCOPED_TRACE(precision);
        EXPECT_EQ(formatComplex({0.1 + 0.2, 0}, precision), "0.3");
    }
}

TEST(FormatComplex, EveryPrecisionFrom0To15) {
    const std::string_view expected[] = {
        "3.14159",
        "3",
        "3.1",
        "3.14",
        "3.142",
        "3.1416",
        "3.14159",
        "3.141593",
        "3.1415927",
        "3.14159265",
        "3.141592654",
        "3.1415926536",
        "3.14159265359",
        "3.14159265359",
        "3.1415926535898",
        "3.14159265358979",
    };
    for (std::uint32_t precision = 0; precision <= 15; ++precision) {
        SCOPED_TRACE(precision);
        EXPECT_EQ(formatComplex({kPi, 0}, precision), expected[precision]);
    }
}

struct BaseCase {
    double value;
    std::string_view hex;
    std::string_view binary;
};

TEST(FormatHexAndBinary, LowThirtyTwoBitsOfTheTruncatedValue) {
    const BaseCase cases[] = {
        {5, "0x5", "0b 00000101"},
        {255.9, "0xFF", "0b 11111111"},
        {256, "0x100", "0b 00000001 00000000"},
        {65535, "0xFFFF", "0b 11111111 11111111"},
        {65536, "0x10000", "0b 00000000 00000001 00000000 00000000"},
        {0, "0x0", "0b 00000000"},
        {-1, "0xFFFFFFFF", "0b 11111111 11111111 11111111 11111111"},
        {-2.9, "0xFFFFFFFE", "0b 11111111 11111111 11111111 11111110"},
        {4294967296.0, "0x0", "0b 00000000"},
        {4294967301.0, "0x5", "0b 00000101"},
        {1e300, "0x0", "0b 00000000"},
        {std::numeric_limits<double>::quiet_NaN(), "0x0", "0b 00000000"},
        {-std::numeric_limits<double>::infinity(), "0x0", "0b 00000000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(formatHex({c.value, 0}), c.hex);
        EXPECT_EQ(formatBinary({c.value, 0}), c.binary);
        EXPECT_EQ(formatResult({c.value, 0}, DisplayBase::Hexadecimal, 12), c.hex);
    }
}

TEST(FormatHexAndBinary, ComplexValuesAreRefused) {
    for (const auto format : {formatHex, formatBinary}) {
        try {
            format({1, 2});
            ADD_FAILURE() << "no error";
        } catch (const CalcError& error) {
            EXPECT_EQ(error.message(), "复数值错误");
        }
    }
}

TEST(NumberText, PrintfStyleLabels) {
    EXPECT_EQ(formatGeneralPadded(10, 3, 9), "       10");
    EXPECT_EQ(formatGeneralPadded(-1, 3, 9), "       -1");
    EXPECT_EQ(formatGeneralPadded(12345.678, 3, 9), " 1.23e+04");
    EXPECT_EQ(formatGeneral(-1, 5), "-1");
    EXPECT_EQ(formatGeneral(0.5, 6), "0.5");
}

TEST(NumberText, FormattingIgnoresAGermanLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
        << "the de_DE.UTF-8 locale must be installed for this test";
    EXPECT_EQ(formatComplex({1.0 / 3, 0}, 12), "0.333333333333");
    EXPECT_EQ(formatGeneralPadded(1.5, 3, 9), "      1.5");
    std::setlocale(LC_ALL, saved.c_str());
}

} // namespace
} // namespace quillet
