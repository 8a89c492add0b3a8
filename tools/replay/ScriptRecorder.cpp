#include "tools/replay/ScriptRecorder.h"

#include <stdexcept>

ScriptRecorder::ScriptRecorder(const std::string& path) : file_(path) {
    if (!file_)
        throw std::runtime_error("cannot write the script " + path);
    file_ << "# Varnoth game record: replay with varnoth --replay or varnoth-replay\n";
}

ScriptRecorder::~ScriptRecorder() {
    Close();
}

void ScriptRecorder::BeginEvent(std::string line) {
    open_.push_back({std::move(line), {}, {}});
}

void ScriptRecorder::EndEvent() {
    if (open_.empty())
        return;
    Event event = std::move(open_.back());
    open_.pop_back();
    std::vector<std::string> lines = std::move(event.answers);
    lines.push_back(std::move(event.line));
    lines.insert(lines.end(), event.after.begin(), event.after.end());
    if (open_.empty())
        write(lines);
    else
        open_.back().after.insert(open_.back().after.end(), lines.begin(), lines.end());
}

void ScriptRecorder::Answer(std::string line) {
    if (open_.empty())
        write({std::move(line)});
    else
        open_.back().answers.push_back(std::move(line));
}

void ScriptRecorder::Close() {
    while (!open_.empty())
        EndEvent();
    flushTicks();
    file_.flush();
}

void ScriptRecorder::write(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        if (line == "tick") {
            ++pendingTicks_;
            continue;
        }
        flushTicks();
        file_ << line << '\n' << std::flush;
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
