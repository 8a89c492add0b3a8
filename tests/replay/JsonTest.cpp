#include "replay/Json.h"

#include <QString>
#include <gtest/gtest.h>

namespace {

TEST(Json, StringsAreQuotedWithEveryControlCharacterEscaped) {
    const struct {
        QString text;
        std::string json;
    } cases[] = {
        {QStringLiteral("DIRECT HIT!!! 1,000 pts"), R"("DIRECT HIT!!! 1,000 pts")"},
        {QStringLiteral("say \"hi\" \\ bye"), R"("say \"hi\" \\ bye")"},
        {QStringLiteral("new highscore!\r\n\r\nPlease"),
         R"("new highscore!\u000d\u000a\u000d\u000aPlease")"},
        {QStringLiteral("a\tb\x01\x1f"), R"("a\u0009b\u0001\u001f")"},
        {QStringLiteral(" \x7f"), "\" \x7f\""},
        {QString::fromUtf8("Zoë"), "\"Zo\xc3\xab\""},
        {QString::fromUtf8("\xf0\x9f\x8e\xaf"), "\"\xf0\x9f\x8e\xaf\""},
        {QString(), R"("")"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Json::string(c.text), c.json) << c.text.toStdString();
}

TEST(Json, NumbersAreTheShortestThatReadBackTheSame) {
    const struct {
        double value;
        const char* json;
    } doubles[] = {
        {3912.5, "3912.5"}, {2550.0, "2550"}, {-1.0, "-1"}, {0.1 + 0.2, "0.30000000000000004"},
        {12340.0, "12340"}, {1e21, "1e+21"},  {0.0, "0"},
    };
    for (const auto& c : doubles)
        EXPECT_EQ(Json::number(c.value), c.json);

    // The speed is a Single: 1.1 must not come out as 1.100000023841858.
    const float firstCrossing = static_cast<float>(1.0f + 0.1);
    const struct {
        float value;
        const char* json;
    } singles[] = {
        {firstCrossing, "1.1"}, {9.5f, "9.5"}, {10.000002f, "10.000002"}, {5.0f, "5"},
        {8.25f, "8.25"},
    };
    for (const auto& c : singles)
        EXPECT_EQ(Json::number(c.value), c.json);
}

} // namespace
