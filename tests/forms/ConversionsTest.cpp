#include "forms/Conversions.h"

#include <QLocale>
#include <gtest/gtest.h>
#include <stdexcept>
#include <tuple>

namespace {

// Only the edges no other test reaches: half to even and a Long's limits are in the game's and
// the best score's tables, the separators of the locales and a percentage's half in the
// scenarios and the statistics' table.
TEST(Conversions, RoundAtTheEdgesAndGroupAsTheLocaleDoes) {
    EXPECT_EQ(CInt(32767.4), 32767);
    EXPECT_THROW(CInt(32767.5), std::overflow_error);
    EXPECT_THROW(CInt(-32768.6), std::overflow_error);

    // The patterns round a half up, of the value as its 15 significant digits read (23 / 40 x
    // 100 is 57.49999999999999 in binary); the C locale, which Qt leaves ungrouped by default,
    // groups thousands with a comma.
    const std::tuple<double, const char*, const char*> cases[] = {
        {1234.5, "0", "1235"},
        {23.0 / 40 * 100, "0", "58"},
        {57.4999999999999, "0", "57"},
        {1234.4999999999998, "#,##0", "1,235"},
        {-0.4, "0", "0"},
        {999.5, "#,##0", "1,000"}};
    QLocale::setDefault(QLocale::c());
    for (const auto& [value, pattern, expected] : cases)
        EXPECT_EQ(Format(value, pattern), expected) << value << " " << pattern;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

} // namespace
