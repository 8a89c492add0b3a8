#pragma once

#include <fstream>
#include <string>
#include <vector>

// Writes, while a person plays, the replay script that reproduces the game. The game tells
// it of each event as it begins and ends, of each yield to pending events, and of each
// dialog answer:
//
//   ScriptRecorder recorder("game.txt");
//   recorder.beginEvent("click");       // the handler starts
//   recorder.answer("msgbox 6");        // a dialog inside it was answered Yes
//   recorder.endEvent();                // the handler returned: "msgbox 6", "click"
//
// A dialog's answer is written before the event whose handler opened it, because a script
// queues answers ahead. An event that ran at the last yield of another (a click handled at
// the yield that ends a tick) is written after it, as that is when it took effect; one that
// ran at an earlier yield (the game-over tick yields before it draws) is written before it
// as `at-yield K EVENT`. Consecutive ticks are folded into `tick N`. Every other line is
// written through at once, so a killed game leaves a usable script where it was asked for.
// A write that fails stops the recording and removes the file (see WriteFault).
class ScriptRecorder {
public:
    // Throws std::runtime_error when the file cannot be written, not even its first line.
    explicit ScriptRecorder(const std::string& path);
    ~ScriptRecorder();
    ScriptRecorder(const ScriptRecorder&) = delete;
    ScriptRecorder& operator=(const ScriptRecorder&) = delete;

    // "tick", "extras", "click", "key 32".
    void beginEvent(std::string line);
    void endEvent();
    // "msgbox 6", "input Ann", "input" for Cancel.
    void answer(std::string line);
    // The game yields to pending events; what begins now happens inside the open event.
    void yield();
    // Ends every open event where it stands and writes out all that is pending; for the end
    // of the program, which may come inside a handler.
    void close();
    // Why the record could not be written, naming the file; empty while all is well.
    const std::string& writeFault() const { return fault_; }

private:
    // A line to write; an event line with a yield is held for that yield of the next event.
    struct Entry {
        std::string text;
        bool event = false;
        int yield = 0;
    };
    // What happened inside an open event, in order: one of its own answers, or an event
    // that ran inside it (at its yield `yield`, 0 when at none) with what happened inside that.
    struct Inside {
        bool nested = false;
        int yield = 0;
        std::vector<Entry> entries;
    };
    struct OpenEvent {
        std::string line;
        int yields = 0;
        std::vector<Inside> inside;
    };

    // `finished` is false when the program ends inside the event: then even its last yield
    // did not come to an end.
    void closeEvent(bool finished);
    void write(const std::vector<Entry>& entries);
    void flushTicks();
    void writeLine(const std::string& line);
    void fail();

    std::string path_;
    std::ofstream file_;
    std::string fault_;
    std::vector<OpenEvent> open_;
    int pendingTicks_ = 0;
};
