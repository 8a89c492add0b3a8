#include "main/HighScore.h"

#include "forms/Conversions.h"

#include "registry/ConversionError.h"
#include "registry/RegistryStore.h"
#include "registry/RegistryTypes.h"
#include "registry/SqliteError.h"
#include "registry/Variant.h"
#include "registry/clsRegistry.h"

#include <QCoreApplication>

#include <cstdint>
#include <iostream>
#include <string>

namespace {

constexpr auto kKeyPath = "Software\\Korvell\\Qelm\\Varnoth";
constexpr auto kWhoValue = "HighScoreWho";
constexpr auto kScoreValue = "HighScore";
// How often a kept save is tried again while the game runs.
constexpr std::chrono::milliseconds kRetryInterval{250};

void OpenRecord(clsRegistry& registry) {
    registry.ClassKey(static_cast<std::int32_t>(reg::HKEY_LOCAL_MACHINE));
    registry.SectionKey(kKeyPath);
    if (!registry.KeyExists())
        registry.CreateKey();
}

// Whether the stored score is below best. A score that is missing or not a number is no
// record to keep.
bool StoredBelow(clsRegistry& registry, double best) {
    registry.ValueKey(kScoreValue);
    const Variant stored = registry.Value();
    try {
        return IsEmpty(stored) || !(VariantToDouble(stored) >= best);
    } catch (const ConversionError&) {
        return true;
    }
}

} // namespace

RegistryHighScore::RegistryHighScore() {
    retry_.setInterval(kRetryInterval);
    QObject::connect(&retry_, &QTimer::timeout, [this] {
        if (Write(*kept_, RegistryStore::kBusyWait))
            Keep(std::nullopt);
    });
}

RegistryHighScore::~RegistryHighScore() {
    FinishSaving();
}

// The whole load is one transaction, so name and score come from the same save. It is a
// write, as the first load makes the key.
void RegistryHighScore::LoadHighScore(QString& sWho, double& dBest) {
    sWho = QStringLiteral("Unknown");
    dBest = 1000;
    // A kept save goes first, so that the new game shows it; while the store is still too busy
    // for that, it is too busy for the load as well.
    if (kept_ && !Write(*kept_, RegistryStore::kBusyWait)) {
        dBest = -1;
        return;
    }
    Keep(std::nullopt);
    try {
        RegistryStore record(RegistryStore::Kind::Write);
        clsRegistry registry;
        OpenRecord(registry);
        registry.ValueKey(kWhoValue);
        registry.ValueType(reg::REG_SZ);
        if (!IsEmpty(registry.Value()))
            sWho = QString::fromStdString(VariantToString(registry.Value()));
        registry.ValueKey(kScoreValue);
        registry.ValueType(reg::REG_DWORD);
        if (!IsEmpty(registry.Value()))
            dBest = VariantToDouble(registry.Value());
        record.Commit();
    } catch (...) {
        dBest = -1;
    }
}

void RegistryHighScore::SaveHighScore(QString& sWho, double& dBest) {
    const Record record{sWho, dBest};
    Keep(Write(record, RegistryStore::kBusyWait) ? std::nullopt : std::optional(record));
}

void RegistryHighScore::FinishSaving(std::chrono::milliseconds wait) {
    if (kept_ && !Write(*kept_, wait)) {
        std::cerr << "varnoth: the best score, "
                  << QString::number(kept_->best, 'f', 0).toStdString() << " by "
                  << kept_->who.toStdString()
                  << ", could not be saved: another program kept the store busy\n";
    }
    Keep(std::nullopt);
}

// Name and score are one transaction, written only while the stored score is still below the
// new one: another copy of the game may have saved a better one since this game began.
bool RegistryHighScore::Write(const Record& record, std::chrono::milliseconds wait) {
    try {
        RegistryStore transaction(RegistryStore::Kind::Write, wait);
        clsRegistry registry;
        OpenRecord(registry);
        if (!StoredBelow(registry, record.best))
            return true;
        try {
            registry.ValueKey(kWhoValue);
            registry.ValueType(reg::REG_SZ);
            registry.Value(record.who.toStdString());
            registry.ValueKey(kScoreValue);
            registry.ValueType(reg::REG_DWORD);
            registry.Value(CLng(record.best));
        } catch (...) {
            // The game shows nothing when its record can't be kept, and what was written before
            // the error stays written.
        }
        transaction.Commit();
        return true;
    } catch (const SqliteError& error) {
        return !error.Busy();
    } catch (...) {
        return true;
    }
}

void RegistryHighScore::Keep(const std::optional<Record>& record) {
    kept_ = record;
    if (!kept_) {
        retry_.stop();
    } else if (QCoreApplication::instance() != nullptr) {
        retry_.start();
    }
}
