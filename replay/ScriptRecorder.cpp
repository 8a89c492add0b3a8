#include "replay/ScriptRecorder.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <utility>

ScriptRecorder::ScriptRecorder(const std::string& path) : path_(path), file_(path) {
    if (!file_)
        fault_ = "cannot write the game record " + path_ + ": " + std::strerror(errno);
    else
        writeLine("# Varnoth game record: replay with varnoth --replay or varnoth-replay");
    if (!fault_.empty())
        throw std::runtime_error(fault_);
}

ScriptRecorder::~ScriptRecorder() {
    close();
}

void ScriptRecorder::beginEvent(std::string line) {
    open_.push_back({std::move(line), 0, {}});
}

void ScriptRecorder::endEvent() {
    if (!open_.empty())
        closeEvent(true);
}

void ScriptRecorder::answer(std::string line) {
    Entry answer{std::move(line), false, 0};
    if (open_.empty())
        write({std::move(answer)});
    else
        open_.back().inside.push_back({false, 0, {std::move(answer)}});
}

void ScriptRecorder::yield() {
    if (!open_.empty())
        ++open_.back().yields;
}

void ScriptRecorder::close() {
    while (!open_.empty())
        closeEvent(false);
    flushTicks();
}

void ScriptRecorder::closeEvent(bool finished) {
    OpenEvent event = std::move(open_.back());
    open_.pop_back();
    std::vector<Entry> entries;
    std::vector<Entry> after;
    for (Inside& inside : event.inside) {
        // Whatever came after the event's last yield is gone by the time the event ends, so
        // events that ran there can follow it. At an earlier yield the event still had work
        // to do: those must run inside it when replayed.
        const bool atEarlierYield =
            inside.nested && inside.yield > 0 && (inside.yield < event.yields || !finished);
        if (inside.nested && !atEarlierYield) {
            after.insert(after.end(), inside.entries.begin(), inside.entries.end());
            continue;
        }
        for (Entry& entry : inside.entries) {
            if (entry.event && inside.nested)
                entry.yield = inside.yield;
            entries.push_back(std::move(entry));
        }
    }
    entries.push_back({std::move(event.line), true, 0});
    entries.insert(entries.end(), after.begin(), after.end());
    if (open_.empty())
        write(entries);
    else
        open_.back().inside.push_back({true, open_.back().yields, std::move(entries)});
}

void ScriptRecorder::write(const std::vector<Entry>& entries) {
    for (const Entry& entry : entries) {
        if (entry.event && entry.yield == 0 && entry.text == "tick") {
            ++pendingTicks_;
            continue;
        }
        flushTicks();
        writeLine(entry.yield > 0 ? "at-yield " + std::to_string(entry.yield) + ' ' + entry.text
                                  : entry.text);
    }
}

void ScriptRecorder::flushTicks() {
    if (pendingTicks_ == 0)
        return;
    writeLine(pendingTicks_ > 1 ? "tick " + std::to_string(pendingTicks_) : "tick");
    pendingTicks_ = 0;
}

void ScriptRecorder::writeLine(const std::string& line) {
    if (!fault_.empty())
        return;
    file_ << line << '\n' << std::flush;
    if (!file_)
        fail();
}

// A record with a hole in it would replay another game, and its last line may be cut short:
// a file that could not be written whole is removed, and the rest of the game goes
// unrecorded. Only a plain file that this record emptied is removed; a device or pipe is left
// alone.
void ScriptRecorder::fail() {
    fault_ = "cannot write the game record " + path_ + ": " + std::strerror(errno);
    file_.close();
    std::error_code error;
    if (std::filesystem::is_regular_file(path_, error) && std::filesystem::remove(path_, error))
        fault_ += " (the part written is removed)";
}
