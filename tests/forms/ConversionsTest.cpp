#include "forms/Conversions.h"

#include <QLocale>
#include <gtest/gtest.h>
#include <stdexcept>
#include <tuple>

namespace {

TEST(Conversions, RoundAtTheEdgesAndGroupAsTheLocaleDoes) {
    // Half to even is played out by the game's own tables (points, stage, target step); here
    // only what the game never reaches: whole numbers beyond their width overflow.
    EXPECT_EQ(CLng(-2147483648.5), -2147483648);
    EXPECT_THROW(CLng(2147483647.5), std::overflow_error);
    EXPECT_EQ(CInt(32767.4), 32767);
    EXPECT_THROW(CInt(32767.5), std::overflow_error);
    EXPECT_THROW(CInt(-32768.6), std::overflow_error);

    // The patterns round a half up, of the value as its 15 significant digits read, and group
    // thousands with the locale's separator; the C locale, which Qt leaves ungrouped by
    // default, groups them with a comma.
    const std::tuple<QLocale::Language, double, const char*, const char*> cases[] = {
        {QLocale::C, 1234.5, "0", "1235"},
        {QLocale::C, 1.0 / 8 * 100, "0", "13"},
        {QLocale::C, 3.0 / 8 * 100, "0", "38"},
        {QLocale::C, 23.0 / 40 * 100, "0", "58"}, // 57.49999999999999 in binary
        {QLocale::C, 57.4999999999999, "0", "57"},
        {QLocale::C, 1234.4999999999998, "#,##0", "1,235"},
        {QLocale::C, -0.4, "0", "0"},
        {QLocale::C, 999.5, "#,##0", "1,000"},
        {QLocale::C, 1234567, "#,##0", "1,234,567"},
        {QLocale::German, 12340, "#,##0", "12.340"}};
    for (const auto& [language, value, pattern, expected] : cases) {
        QLocale::setDefault(QLocale(language));
        EXPECT_EQ(Format(value, pattern), expected)
            << value << " " << pattern << " in " << language;
    }
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

} // namespace
