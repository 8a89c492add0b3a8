#pragma once

#include <fstream>
#include <string>
#include <vector>

// Writes, while a person plays, the replay script that reproduces the game. The game tells
// it of each event as it begins and ends, and of each dialog answer. Consecutive ticks are
// folded into `tick N`. A dialog's answer is written before the event whose handler opened
// it, because a script queues answers ahead. An event that happens inside another (a click
// handled at the yield that ends a tick) is written after it, as that is when it took
// effect. Every line but a tick is flushed at once, so a killed game leaves a usable script.
class ScriptRecorder {
public:
    // Throws std::runtime_error when the file cannot be written.
    explicit ScriptRecorder(const std::string& path);
    ~ScriptRecorder();
    ScriptRecorder(const ScriptRecorder&) = delete;
    ScriptRecorder& operator=(const ScriptRecorder&) = delete;

    void BeginEvent(std::string line);
    void EndEvent();
    // "msgbox 6", "input Ann", "input" for Cancel.
    void Answer(std::string line);
    // Ends every open event and writes out all that is pending; for the end of the program.
    void Close();

private:
    struct Event {
        std::string line;
        std::vector<std::string> answers;
        std::vector<std::string> after;
    };
    void write(const std::vector<std::string>& lines);
    void flushTicks();

    std::ofstream file_;
    std::vector<Event> open_;
    int pendingTicks_ = 0;
};
