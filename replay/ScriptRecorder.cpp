#include "replay/ScriptRecorder.h"

#include <stdexcept>
#include <utility>

ScriptRecorder::ScriptRecorder(const std::string& path) : file_(path) {
    if (!file_)
        throw std::runtime_error("cannot write the script " + path);
    file_ << "# Varnoth game record: replay with varnoth --replay or varnoth-replay\n";
}

ScriptRecorder::~ScriptRecorder() {
    Close();
}

void ScriptRecorder::BeginEvent(std::string line) {
    open_.push_back({std::move(line), 0, {}});
}

void ScriptRecorder::EndEvent() {
    if (!open_.empty())
        closeEvent(true);
}

void ScriptRecorder::Answer(std::string line) {
    Entry answer{std::move(line), false, 0};
    if (open_.empty())
        write({std::move(answer)});
    else
        open_.back().inside.push_back({false, 0, {std::move(answer)}});
}

void ScriptRecorder::Yield() {
    if (!open_.empty())
        ++open_.back().yields;
}

void ScriptRecorder::Close() {
    while (!open_.empty())
        closeEvent(false);
    flushTicks();
    file_.flush();
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
        if (entry.yield > 0)
            file_ << "at-yield " << entry.yield << ' ';
        file_ << entry.text << '\n' << std::flush;
    }
}

void ScriptRecorder::flushTicks() {
    if (pendingTicks_ == 0)
        return;
    file_ << "tick";
    if (pendingTicks_ > 1)
        file_ << ' ' << pendingTicks_;
    file_ << '\n' << std::flush;
    pendingTicks_ = 0;
}
