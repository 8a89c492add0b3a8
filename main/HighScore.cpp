#include "main/HighScore.h"

#include "registry/ConversionError.h"
#include "registry/RegistryTypes.h"
#include "registry/Variant.h"
#include "registry/clsRegistry.h"

#include <QByteArray>
#include <QString>

#include <cmath>
#include <cstdint>
#include <string>

namespace {

constexpr auto kKeyPath = "Software\\Korvell\\Qelm\\Varnoth";
constexpr auto kWhoValue = "HighScoreWho";
constexpr auto kScoreValue = "HighScore";

// A Double to a Long as the game's language converts one: to the nearest whole number, a half
// to the even neighbour, and an overflow error when the result does not fit.
std::int32_t ToLong(double d) {
    double whole = std::round(d);
    if (std::fabs(d - std::trunc(d)) == 0.5) {
        whole = 2.0 * std::round(d / 2.0);
    }
    if (!(whole >= -2147483648.0 && whole <= 2147483647.0)) {
        throw ConversionError(ConversionError::kOverflow);
    }
    return static_cast<std::int32_t>(whole);
}

void OpenRecord(clsRegistry& registry) {
    registry.ClassKey(static_cast<std::int32_t>(reg::HKEY_LOCAL_MACHINE));
    registry.SectionKey(kKeyPath);
    if (!registry.KeyExists()) {
        registry.CreateKey();
    }
}

} // namespace

void RegistryHighScore::LoadHighScore(QString& sWho, double& dBest) {
    try {
        sWho = QStringLiteral("Unknown");
        dBest = 1000;
        clsRegistry registry;
        OpenRecord(registry);
        registry.ValueKey(kWhoValue);
        registry.ValueType(reg::REG_SZ);
        if (!IsEmpty(registry.Value())) {
            sWho = QString::fromStdString(VariantToString(registry.Value()));
        }
        registry.ValueKey(kScoreValue);
        registry.ValueType(reg::REG_DWORD);
        if (!IsEmpty(registry.Value())) {
            dBest = VariantToDouble(registry.Value());
        }
    } catch (...) {
        dBest = -1;
    }
}

void RegistryHighScore::SaveHighScore(QString& sWho, double& dBest) {
    try {
        clsRegistry registry;
        OpenRecord(registry);
        registry.ValueKey(kWhoValue);
        registry.ValueType(reg::REG_SZ);
        registry.Value(sWho.toStdString());
        registry.ValueKey(kScoreValue);
        registry.ValueType(reg::REG_DWORD);
        registry.Value(ToLong(dBest));
    } catch (...) {
        // The game shows nothing when its record can't be kept; whatever was written stays.
    }
}
