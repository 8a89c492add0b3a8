#include "replay/ScriptRunner.h"

#include "forms/Conversions.h"
#include "forms/Platform.h"
#include "forms/Timer.h"
#include "game/VarnothForm.h"
#include "game/frmVarnoth.h"
#include "replay/Json.h"
#include "replay/RecordVariables.h"
#include "replay/StateDump.h"

#include <QObject>
#include <QScopeGuard>
#include <QString>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace {

bool isEvent(const std::string& command) {
    return command == "tick" || command == "extras" || command == "click" || command == "key" ||
           command == "type";
}

[[noreturn]] void expected(const ScriptLine& line, std::string_view form) {
    const std::string given = line.rest.empty() ? line.command : line.command + " " + line.rest;
    throw ScriptError(line.number, "expected \"" + std::string(form) + "\", not \"" + given + "\"");
}

// The line's words after the command, when there are between `least` and `most` of them.
std::vector<std::string> arguments(const ScriptLine& line, std::size_t least, std::size_t most,
                                   std::string_view form) {
    auto words = Script::words(line.rest);
    if (words.size() < least || words.size() > most)
        expected(line, form);
    return words;
}

// What `Number` is to the game, for the message when a value does not fit.
template <typename Number> const char* typeName() {
    static_assert(std::is_same_v<Number, Long> || std::is_floating_point_v<Number>);
    if constexpr (std::is_same_v<Number, Long>)
        return "a Long (32-bit)";
    else if constexpr (std::is_same_v<Number, Single>)
        return "a Single";
    else
        return "a Double";
}

// `what` names the place the number goes to, as "lLives" or "tick's count".
template <typename Number>
Number parseNumber(int line, const std::string& text, std::string_view what = {}) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    const bool whole = !text.empty() && end == text.data() + text.size();
    if (whole && error == std::errc::result_out_of_range) {
        throw ScriptError(line, std::string(what.empty() ? "the number" : what) + " is " +
                                    typeName<Number>() + ", which cannot hold " + text);
    }
    bool valid = whole && error == std::errc();
    // A dump must stay valid JSON, which has no infinity and no NaN.
    if constexpr (std::is_floating_point_v<Number>)
        valid = valid && std::isfinite(value);
    if (!valid)
        throw ScriptError(line, "malformed number \"" + text + "\"");
    return value;
}

// `tick [N]` and `extras [N]`.
int repeatCount(const ScriptLine& line) {
    const auto words = arguments(line, 0, 1, line.command + " [N]");
    if (words.empty())
        return 1;
    const int count = parseNumber<int>(line.number, words.front(), line.command + "'s count");
    if (count < 0)
        throw ScriptError(line.number, line.command + " cannot run " + words.front() + " times");
    return count;
}

// Runs what a script line asks; the game's untrapped run-time error (Overflow) and a dialog
// that found no answer come out as the line's ScriptError.
template <typename Run> void asLine(int line, const Run& run) {
    try {
        run();
    } catch (const NoAnswerQueued& missing) {
        // On one line, as the driver's messages are: the input box's prompt has line breaks of
        // its own.
        throw ScriptError(line, QString::fromStdString(missing.what()).simplified().toStdString());
    } catch (const Overflow& error) {
        throw ScriptError(line, "run-time error " + std::to_string(Overflow::Number) + ", " +
                                    error.what());
    }
}

int msgBoxAnswer(const ScriptLine& line) {
    constexpr std::string_view kForm = "msgbox 6|7|2 (or yes, no, cancel)";
    const std::string word = arguments(line, 1, 1, kForm).front();
    if (word == "yes" || word == "6")
        return Platform::vbYes;
    if (word == "no" || word == "7")
        return Platform::vbNo;
    if (word == "cancel" || word == "2")
        return Platform::vbCancel;
    expected(line, kForm);
}

// One operation of `call`: how many whole-number arguments it takes, and the JSON of its
// result.
struct Operation {
    std::string_view name;
    std::size_t arity = 0;
    std::function<std::string(frmVarnoth&, std::vector<Long>&)> run;
};

// An operation that returns nothing, whose result is written as null.
template <typename Run> auto returnsNothing(Run run) {
    return [run](frmVarnoth& game, std::vector<Long>& a) {
        run(game, a);
        return std::string("null");
    };
}

const std::vector<Operation>& operations() {
    using Args = std::vector<Long>;
    static const std::vector<Operation> list = {
        {"UpdateFrame", 0, returnsNothing([](frmVarnoth& game, Args&) { game.UpdateFrame(); })},
        {"DrawBeam", 1,
         [](frmVarnoth& game, Args& a) { return Json::boolean(game.DrawBeam(a[0])); }},
        {"DrawTarget", 2,
         returnsNothing([](frmVarnoth& game, Args& a) { game.DrawTarget(a[0], a[1]); })},
        {"UpdateStage", 1,
         returnsNothing([](frmVarnoth& game, Args& a) { game.UpdateStage(a[0]); })},
        {"UpdateStats", 0, returnsNothing([](frmVarnoth& game, Args&) { game.UpdateStats(); })},
        {"GetPraiseText", 1,
         [](frmVarnoth& game, Args& a) { return Json::string(game.GetPraiseText(a[0])); }},
    };
    return list;
}

} // namespace

ScriptRunner::ScriptRunner(frmVarnoth& game, ScriptedPlatform& platform, std::ostream& out)
    : game_(game), form_(game.Window()), platform_(platform), out_(out) {}

int ScriptRunner::tickCount(const ScriptLine& line) {
    return line.command == "tick" ? repeatCount(line) : 0;
}

void ScriptRunner::run(const ScriptLine& line) {
    const std::string& c = line.command;
    asLine(line.number, [&] {
        if (isEvent(c))
            runEvent(line);
        else if (c == "msgbox" || c == "input")
            queueAnswer(line);
        else if (c == "at-yield")
            hold(line);
        else if (c == "set")
            set(line);
        else if (c == "call")
            call(line);
        else if (c == "dump")
            dump(line);
        else
            throw ScriptError(line.number, "unknown command \"" + c + "\"");
    });
    collectDialogs();
}

void ScriptRunner::finish() {
    std::vector<std::pair<int, std::string>> faults;
    if (!held_.empty())
        faults.emplace_back(held_.front().line.number, "no event line followed to yield to it");
    if (!msgBoxLines_.empty())
        faults.emplace_back(msgBoxLines_.front(), "no message box took this answer");
    if (!inputLines_.empty())
        faults.emplace_back(inputLines_.front(), "no input box took this answer");
    if (faults.empty())
        return;
    const auto& first = *std::min_element(faults.begin(), faults.end());
    throw ScriptError(first.first, first.second);
}

// Counts the yields of this one line and runs each held event at its own; the yields of a
// held event itself do not count, as they are not the line's.
void ScriptRunner::runEvent(const ScriptLine& line) {
    if (held_.empty())
        return performEvent(line);
    const std::vector<Held> waiting = std::exchange(held_, {});
    int yields = 0;
    bool delivering = false;
    // After whatever already listens at the yield: the window's replay paints there.
    const auto hook = QObject::connect(&platform_, &ScriptedPlatform::yielded, [&] {
        if (delivering)
            return;
        ++yields;
        delivering = true;
        for (const Held& held : waiting) {
            if (held.yield == yields)
                asLine(held.line.number, [&] { performEvent(held.line); });
        }
        delivering = false;
    });
    const QScopeGuard unhook([hook] { QObject::disconnect(hook); });
    performEvent(line);
    for (const Held& held : waiting) {
        if (held.yield > yields)
            throw ScriptError(held.line.number, "line " + std::to_string(line.number) +
                                                    " did not yield " + std::to_string(held.yield) +
                                                    " times");
    }
}

void ScriptRunner::performEvent(const ScriptLine& line) {
    const std::string& c = line.command;
    // A timer that is off does not tick, as in the window: the game-over tick switches both
    // off, so the ticks after it in the same line do nothing.
    if (c == "tick" || c == "extras") {
        Timer& timer = c == "tick" ? form_.tmrState : form_.tmrExtras;
        for (int i = repeatCount(line); i > 0 && timer.Enabled(); --i) {
            if (c == "tick")
                game_.tmrState_Timer();
            else
                game_.tmrExtras_Timer();
        }
    } else if (c == "click") {
        arguments(line, 0, 0, "click");
        game_.picFire_Click();
    } else if (c == "key") {
        const int code = parseNumber<int>(line.number, arguments(line, 1, 1, "key CODE").front());
        if (code < std::numeric_limits<Integer>::min() ||
            code > std::numeric_limits<std::uint16_t>::max())
            throw ScriptError(line.number, "key code " + std::to_string(code) + " is not 16-bit");
        auto charCode = static_cast<Integer>(code);
        game_.picFire_KeyPress(charCode);
    } else {
        for (const QChar ch : QString::fromStdString(line.rest)) {
            auto charCode = static_cast<Integer>(ch.unicode());
            game_.picFire_KeyPress(charCode);
        }
    }
}

// `at-yield K EVENT`.
void ScriptRunner::hold(const ScriptLine& line) {
    const ScriptLine count = Script::split(line.number, line.rest);
    if (count.command.empty())
        expected(line, "at-yield K EVENT");
    const int yield = parseNumber<int>(line.number, count.command);
    if (yield < 1)
        throw ScriptError(line.number, "yields count from 1, not " + count.command);
    ScriptLine event = Script::split(line.number, count.rest);
    if (!isEvent(event.command))
        throw ScriptError(line.number, "at-yield holds tick, extras, click, key or type, not \"" +
                                           event.command + "\"");
    held_.push_back({yield, std::move(event)});
}

void ScriptRunner::queueAnswer(const ScriptLine& line) {
    if (line.command == "msgbox") {
        platform_.queueMsgBoxAnswer(msgBoxAnswer(line));
        msgBoxLines_.push_back(line.number);
    } else {
        platform_.queueInputAnswer(QString::fromStdString(line.rest));
        inputLines_.push_back(line.number);
    }
}

// `set NAME VALUE`: a string takes the rest of the line, anything else one word.
void ScriptRunner::set(const ScriptLine& line) {
    const ScriptLine assignment = Script::split(line.number, line.rest);
    if (assignment.command.empty())
        expected(line, "set NAME VALUE");
    const auto variables = RecordVariables::of(game_.Record());
    const auto found = std::find_if(variables.begin(), variables.end(),
                                    [&](const auto& v) { return v.first == assignment.command; });
    if (found == variables.end())
        throw ScriptError(line.number, "unknown variable \"" + assignment.command + "\"");
    std::visit(
        [&](auto* target) {
            using T = std::remove_pointer_t<decltype(target)>;
            if constexpr (std::is_same_v<T, String>) {
                *target = QString::fromStdString(assignment.rest);
            } else {
                const auto words = Script::words(assignment.rest);
                if (words.size() != 1)
                    expected(line, "set NAME VALUE");
                if constexpr (std::is_same_v<T, Boolean>) {
                    if (words.front() != "true" && words.front() != "false")
                        throw ScriptError(line.number, assignment.command +
                                                           " is true or false, not \"" +
                                                           words.front() + "\"");
                    *target = words.front() == "true";
                } else {
                    *target = parseNumber<T>(line.number, words.front(), assignment.command);
                }
            }
        },
        found->second);
}

void ScriptRunner::call(const ScriptLine& line) {
    const auto words = Script::words(line.rest);
    if (words.empty())
        expected(line, "call OP [ARGS]");
    const auto& list = operations();
    const auto op = std::find_if(list.begin(), list.end(),
                                 [&](const Operation& o) { return o.name == words.front(); });
    if (op == list.end())
        throw ScriptError(line.number, "unknown operation \"" + words.front() + "\"");
    if (words.size() != op->arity + 1)
        throw ScriptError(line.number, words.front() + " takes " + std::to_string(op->arity) +
                                           (op->arity == 1 ? " number" : " numbers"));
    std::vector<Long> args;
    for (std::size_t i = 1; i < words.size(); ++i)
        args.push_back(parseNumber<Long>(line.number, words[i], words.front() + "'s argument"));
    const std::string result = op->run(game_, args);
    out_ << "{\"call\":\"" << op->name << "\",\"result\":" << result << "}\n";
}

void ScriptRunner::dump(const ScriptLine& line) {
    arguments(line, 0, 0, "dump");
    collectDialogs();
    out_ << StateDump::json(line.number, game_, form_, sinceDump_) << '\n';
    sinceDump_.clear();
}

// Matches the dialogs just shown to the lines that queued their answers.
void ScriptRunner::collectDialogs() {
    for (auto& dialog : platform_.takeDialogs()) {
        auto& lines =
            dialog.kind == ScriptedPlatform::Dialog::Kind::MsgBox ? msgBoxLines_ : inputLines_;
        if (!lines.empty())
            lines.pop_front();
        sinceDump_.push_back(std::move(dialog));
    }
}
