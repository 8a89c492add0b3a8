#include "view/Conversions.h"

#include <QLocale>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

TEST(Conversions, WholeNumbersRoundHalfToEven) {
    const struct {
        double value;
        std::int32_t expected;
    } cases[] = {{0.5, 0},
                 {1.5, 2},
                 {2.5, 2},
                 {3.5, 4},
                 {-0.5, 0},
                 {-1.5, -2},
                 {-2.5, -2},
                 {237.5, 238},
                 {312.5, 312},
                 {62.5, 62},
                 {2.4999, 2},
                 {2.5001, 3},
                 {2147483647.4, 2147483647},
                 {-2147483648.5, -2147483648}};
    for (const auto& c : cases)
        EXPECT_EQ(CLng(c.value), c.expected) << c.value;
}

TEST(Conversions, WholeNumbersOutOfRangeOverflow) {
    EXPECT_THROW(CLng(2147483647.5), std::overflow_error);
    EXPECT_THROW(CLng(3e9), std::overflow_error);
    EXPECT_THROW(CLng(-2147483649.0), std::overflow_error);
    EXPECT_EQ(CInt(32767.4), 32767);
    EXPECT_THROW(CInt(32767.5), std::overflow_error);
    EXPECT_THROW(CInt(-32768.6), std::overflow_error);
}

TEST(Conversions, NumberPatternsRoundHalfUp) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const struct {
        double value;
        const char* pattern;
        const char* expected;
    } cases[] = {{12.5, "0", "13"},
                 {37.5, "0", "38"},
                 {33.333, "0", "33"},
                 {66.667, "0", "67"},
                 {0.4, "0", "0"},
                 {150, "0", "150"},
                 {0, "#,##0", "0"},
                 {999, "#,##0", "999"},
                 {1000, "#,##0", "1,000"},
                 {12340, "#,##0", "12,340"},
                 {1234567, "#,##0", "1,234,567"},
                 {999.5, "#,##0", "1,000"},
                 {-1, "#,##0", "-1"},
                 {-0.4, "0", "0"}};
    for (const auto& c : cases)
        EXPECT_EQ(Format(c.value, QString::fromLatin1(c.pattern)), QString::fromLatin1(c.expected))
            << c.value << " " << c.pattern;
}

TEST(Conversions, GroupSeparatorFollowsTheLocale) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(Format(12340, QStringLiteral("#,##0")), QStringLiteral("12.340"));
    EXPECT_EQ(Format(12340, QStringLiteral("0")), QStringLiteral("12340"));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

} // namespace
