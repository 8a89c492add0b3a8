#include "view/Conversions.h"

#include <QLocale>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

TEST(Conversions, WholeNumbersRoundHalfToEvenAndOverflowBeyondTheirWidth) {
    const struct {
        double value;
        std::int32_t expected;
    } cases[] = {{0.5, 0},
                 {1.5, 2},
                 {2.5, 2},
                 {-1.5, -2},
                 {-2.5, -2},
                 {312.5, 312},
                 {2.4999, 2},
                 {2.5001, 3},
                 {2147483647.4, 2147483647},
                 {-2147483648.5, -2147483648}};
    for (const auto& c : cases)
        EXPECT_EQ(CLng(c.value), c.expected) << c.value;
    EXPECT_THROW(CLng(2147483647.5), std::overflow_error);
    EXPECT_THROW(CLng(-2147483649.0), std::overflow_error);
    EXPECT_EQ(CInt(32767.4), 32767);
    EXPECT_THROW(CInt(32767.5), std::overflow_error);
    EXPECT_THROW(CInt(-32768.6), std::overflow_error);
}

// The patterns round a half up and group thousands with the locale's separator; the C
// locale, which Qt leaves ungrouped by default, groups them with a comma.
TEST(Conversions, NumberPatternsRoundHalfUpAndGroupAsTheLocaleDoes) {
    const struct {
        QLocale locale;
        double value;
        const char* pattern;
        const char* expected;
    } cases[] = {{QLocale::c(), 12.5, "0", "13"},
                 {QLocale::c(), 66.667, "0", "67"},
                 {QLocale::c(), -0.4, "0", "0"},
                 {QLocale::c(), 999, "#,##0", "999"},
                 {QLocale::c(), 999.5, "#,##0", "1,000"},
                 {QLocale::c(), 1234567, "#,##0", "1,234,567"},
                 {QLocale::c(), -1, "#,##0", "-1"},
                 {QLocale(QLocale::English, QLocale::UnitedStates), 12340, "#,##0", "12,340"},
                 {QLocale(QLocale::German, QLocale::Germany), 12340, "#,##0", "12.340"},
                 {QLocale(QLocale::German, QLocale::Germany), 12340, "0", "12340"}};
    for (const auto& c : cases) {
        QLocale::setDefault(c.locale);
        EXPECT_EQ(Format(c.value, QString::fromLatin1(c.pattern)), QString::fromLatin1(c.expected))
            << c.value << " " << c.pattern << " in " << c.locale.name().toStdString();
    }
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

} // namespace
