#include "main/HighScore.h"

#include "forms/Conversions.h"

#include "registry/ConversionError.h"
#include "registry/RegistryError.h"
#include "registry/RegistryTypes.h"
#include "registry/SqliteError.h"
#include "registry/Variant.h"
#include "registry/clsRegistry.h"
#include "replay/ScriptError.h"

#include <QCoreApplication>

#include <cstdint>
#include <iostream>

namespace {

constexpr auto kKeyPath = "Software\\Korvell\\Qelm\\Varnoth";
constexpr auto kWhoValue = "HighScoreWho";
constexpr auto kScoreValue = "HighScore";
// How often a kept save is tried again while the game runs.
constexpr std::chrono::milliseconds kRetryInterval{250};

// Opens the record's key; a missing one is made when create says so, or else answers false.
bool openRecord(clsRegistry& registry, bool create) {
    registry.ClassKey(static_cast<std::int32_t>(reg::HKEY_LOCAL_MACHINE));
    registry.SectionKey(kKeyPath);
    if (registry.KeyExists())
        return true;
    if (create)
        registry.CreateKey();
    return create;
}

// Whether the stored score is below best. A score that is missing or not a number is no
// record to keep.
bool storedBelow(clsRegistry& registry, double best) {
    registry.ValueKey(kScoreValue);
    const Variant stored = registry.Value();
    try {
        return isEmpty(stored) || !(variantToDouble(stored) >= best);
    } catch (const ConversionError&) {
        return true;
    }
}

// Why a save was not made, in the player's words.
std::string reason(const SqliteError& error) {
    switch (error.code() & 0xff) {
    case SQLITE_READONLY:
        return "the store is read-only";
    case SQLITE_FULL:
        return "the disk is full";
    default:
        return error.busy() ? "another program kept the store busy" : error.what();
    }
}

} // namespace

RegistryHighScore::RegistryHighScore(std::chrono::milliseconds callLimit) : callLimit_(callLimit) {
    retry_.setInterval(kRetryInterval);
    // Never waits for the store: the window's next tick is due, and the next retry comes soon.
    QObject::connect(&retry_, &QTimer::timeout,
                     [this] { trySave(*kept_, Clock::now() + callLimit_, false); });
}

RegistryHighScore::~RegistryHighScore() {
    finishSaving();
}

// A load only reads, so a program that merely reads the store never makes it fail; the very
// first one makes the key, as the game always did, and only that one writes. Name and score
// come from one transaction, so from the same save.
void RegistryHighScore::LoadHighScore(QString& sWho, double& dBest) {
    const auto deadline = Clock::now() + callLimit_;
    sWho = QStringLiteral("Unknown");
    dBest = 1000;
    if (kept_)
        trySave(*kept_, deadline, false);
    try {
        if (!read(false, deadline, sWho, dBest))
            read(true, deadline, sWho, dBest);
    } catch (...) {
        dBest = -1;
    }
    // What a game that had waited for its store would read back.
    if (kept_ && !(dBest >= kept_->best)) {
        sWho = kept_->who;
        dBest = kept_->best;
    }
}

bool RegistryHighScore::read(bool write, Clock::time_point deadline, QString& sWho, double& dBest) {
    RegistryStore transaction(write ? RegistryStore::Kind::Write : RegistryStore::Kind::Read,
                              deadline);
    clsRegistry registry(transaction);
    if (!openRecord(registry, write))
        return false;
    registry.ValueKey(kWhoValue);
    registry.ValueType(reg::REG_SZ);
    if (!isEmpty(registry.Value()))
        sWho = QString::fromStdString(variantToString(registry.Value()));
    registry.ValueKey(kScoreValue);
    registry.ValueType(reg::REG_DWORD);
    if (!isEmpty(registry.Value()))
        dBest = variantToDouble(registry.Value());
    transaction.commit();
    return true;
}

// A kept save is replaced only by a higher one.
void RegistryHighScore::SaveHighScore(QString& sWho, double& dBest) {
    const Record record{sWho, dBest};
    trySave(kept_ && kept_->best >= dBest ? *kept_ : record, Clock::now() + callLimit_, true);
}

void RegistryHighScore::finishSaving(std::chrono::milliseconds wait) {
    if (kept_) {
        try {
            write(*kept_, Clock::now() + wait, true);
        } catch (const SqliteError& error) {
            report(*kept_, reason(error));
        }
    }
    keep(std::nullopt);
}

void RegistryHighScore::trySave(const Record& record, Clock::time_point deadline,
                                bool waitForStore) {
    try {
        write(record, deadline, waitForStore);
        keep(std::nullopt);
    } catch (const SqliteError& error) {
        if (error.busy()) {
            keep(record);
            return;
        }
        keep(std::nullopt);
        report(record, reason(error));
    }
}

// Name and score are one transaction, written only while the stored score is still below the
// new one: another copy of the game may have saved a better one since this game began.
void RegistryHighScore::write(const Record& record, Clock::time_point deadline, bool waitForStore) {
    RegistryStore transaction(RegistryStore::Kind::Write, deadline, waitForStore);
    if (transaction.readOnly())
        throw SqliteError(SQLITE_READONLY, "read-only");
    clsRegistry registry(transaction);
    try {
        openRecord(registry, true);
        if (!storedBelow(registry, record.best))
            return;
        registry.ValueKey(kWhoValue);
        registry.ValueType(reg::REG_SZ);
        registry.Value(record.who.toStdString());
        registry.ValueKey(kScoreValue);
        registry.ValueType(reg::REG_DWORD);
        registry.Value(CLng(record.best));
    } catch (const RegistryError&) {
        // What was written before the error stays written, as the game always had it.
    } catch (const Overflow&) {
    }
    // clsRegistry's errors name no cause; the store's own does.
    const int failure = transaction.firstFailure();
    transaction.commit();
    if (failure != SQLITE_OK)
        throw SqliteError(failure, sqlite3_errstr(failure));
}

// The name is the player's own text: escaped, so that it can't play tricks on the terminal.
void RegistryHighScore::report(const Record& record, const std::string& why) {
    std::cerr << "varnoth: the best score, " << QString::number(record.best, 'f', 0).toStdString()
              << " by " << ScriptError::printable(record.who.toStdString())
              << ", could not be saved: " << ScriptError::printable(why) << '\n';
}

void RegistryHighScore::keep(const std::optional<Record>& record) {
    kept_ = record;
    if (!kept_) {
        retry_.stop();
    } else if (QCoreApplication::instance() != nullptr && !retry_.isActive()) {
        retry_.start();
    }
}
