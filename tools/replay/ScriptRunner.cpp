#include "tools/replay/ScriptRunner.h"

#include "game/frmVarnoth.h"
#include "tools/replay/Json.h"
#include "tools/replay/StateDump.h"
#include "view/VarnothForm.h"

#include <charconv>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <variant>

namespace {

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string w; in >> w;)
        out.push_back(w);
    return out;
}

template <typename Number> Number parseNumber(int line, const std::string& text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        throw ScriptError(line, "malformed number \"" + text + "\"");
    return value;
}

// The number a command takes, given once or not at all.
template <typename Number>
Number argument(const ScriptLine& line, std::size_t index, std::optional<Number> absent = {}) {
    const auto w = words(line.rest);
    if (index < w.size())
        return parseNumber<Number>(line.number, w[index]);
    if (absent)
        return *absent;
    throw ScriptError(line.number, line.command + " needs a number");
}

int parseAnswer(const ScriptLine& line) {
    const std::string word = words(line.rest).empty() ? "" : words(line.rest).front();
    if (word == "yes" || word == "6")
        return Platform::vbYes;
    if (word == "no" || word == "7")
        return Platform::vbNo;
    if (word == "cancel" || word == "2")
        return Platform::vbCancel;
    throw ScriptError(line.number,
                      "msgbox takes 6, 7 or 2 (yes, no, cancel), not \"" + word + "\"");
}

} // namespace

ScriptRunner::ScriptRunner(frmVarnoth& game, VarnothForm& form, ScriptedPlatform& platform,
                           std::ostream& out)
    : game_(game), form_(form), platform_(platform), out_(out) {}

int ScriptRunner::TickCount(const ScriptLine& line) {
    return line.command == "tick" ? argument<int>(line, 0, 1) : 0;
}

// Matches the dialogs just shown to the lines that queued their answers.
void ScriptRunner::collectDialogs() {
    for (auto& dialog : platform_.TakeDialogs()) {
        auto& lines =
            dialog.kind == ScriptedPlatform::Dialog::Kind::MsgBox ? msgBoxLines_ : inputLines_;
        if (!lines.empty())
            lines.pop_front();
        sinceDump_.push_back(std::move(dialog));
    }
}

void ScriptRunner::Run(const ScriptLine& line) {
    line_ = line.number;
    const auto repeat = [&](const std::function<void()>& handler) {
        const int count = argument<int>(line, 0, 1);
        for (int i = 0; i < count; ++i)
            handler();
    };
    try {
        const std::string& c = line.command;
        if (c == "tick")
            repeat([this] { game_.tmrState_Timer(); });
        else if (c == "extras")
            repeat([this] { game_.tmrExtras_Timer(); });
        else if (c == "click")
            game_.picFire_Click();
        else if (c == "key") {
            const int code = argument<int>(line, 0);
            if (code < -32768 || code > 65535)
                throw ScriptError(line.number,
                                  "key code " + std::to_string(code) + " is not 16-bit");
            auto charCode = static_cast<Integer>(code);
            game_.picFire_KeyPress(charCode);
        } else if (c == "type") {
            for (const QChar ch : QString::fromStdString(line.rest)) {
                auto charCode = static_cast<Integer>(ch.unicode());
                game_.picFire_KeyPress(charCode);
            }
        } else if (c == "msgbox") {
            platform_.QueueMsgBoxAnswer(parseAnswer(line));
            msgBoxLines_.push_back(line.number);
        } else if (c == "input") {
            platform_.QueueInputAnswer(QString::fromStdString(line.rest));
            inputLines_.push_back(line.number);
        } else if (c == "set")
            set(line);
        else if (c == "call")
            call(line);
        else if (c == "dump") {
            collectDialogs();
            out_ << StateDump::json(line.number, game_, form_, sinceDump_) << '\n';
            sinceDump_.clear();
        } else
            throw ScriptError(line.number, "unknown command \"" + c + "\"");
    } catch (const NoAnswerQueued&) {
        throw ScriptError(line.number, "a dialog opened with no answer queued for it");
    }
    collectDialogs();
}

void ScriptRunner::Finish() {
    if (!msgBoxLines_.empty())
        throw ScriptError(msgBoxLines_.front(), "no message box took this answer");
    if (!inputLines_.empty())
        throw ScriptError(inputLines_.front(), "no input box took this answer");
}

void ScriptRunner::set(const ScriptLine& line) {
    GameRecord& m = game_.Record();
    using Field = std::variant<Long*, Double*, Single*, String*, Boolean*>;
    const std::map<std::string, Field> fields = {{"lGameState", &m.lGameState},
                                                 {"dScore", &m.dScore},
                                                 {"dHighScore", &m.dHighScore},
                                                 {"sHighScoreWho", &m.sHighScoreWho},
                                                 {"lLastHitPoints", &m.lLastHitPoints},
                                                 {"lMessageTicks", &m.lMessageTicks},
                                                 {"lExtraPoints", &m.lExtraPoints},
                                                 {"lStage", &m.lStage},
                                                 {"lHits", &m.lHits},
                                                 {"lTargets", &m.lTargets},
                                                 {"lLives", &m.lLives},
                                                 {"sTypedKeys", &m.sTypedKeys},
                                                 {"lTargetStyle", &m.lTargetStyle},
                                                 {"lTargetStep", &m.lTargetStep},
                                                 {"sngSpeed", &m.sngSpeed},
                                                 {"lTargetPos", &m.lTargetPos},
                                                 {"lShotPoints", &m.lShotPoints},
                                                 {"lBeamStep", &m.lBeamStep},
                                                 {"lBeamLength", &m.lBeamLength},
                                                 {"lBeamLines", &m.lBeamLines},
                                                 {"lBeamColor", &m.lBeamColor},
                                                 {"lBeamWidth", &m.lBeamWidth},
                                                 {"bBeamAtTarget", &m.bBeamAtTarget}};
    const auto blank = line.rest.find(' ');
    const std::string name = line.rest.substr(0, blank);
    const std::string value = blank == std::string::npos ? "" : line.rest.substr(blank + 1);
    const auto field = fields.find(name);
    if (field == fields.end())
        throw ScriptError(line.number, "unknown variable \"" + name + "\"");
    std::visit(
        [&](auto* target) {
            using T = std::remove_pointer_t<decltype(target)>;
            if constexpr (std::is_same_v<T, String>)
                *target = QString::fromStdString(value);
            else if constexpr (std::is_same_v<T, Boolean>) {
                if (value != "true" && value != "false")
                    throw ScriptError(line.number,
                                      name + " is true or false, not \"" + value + "\"");
                *target = value == "true";
            } else
                *target = parseNumber<T>(line.number, value);
        },
        field->second);
}

void ScriptRunner::call(const ScriptLine& line) {
    const auto w = words(line.rest);
    const std::string op = w.empty() ? "" : w.front();
    const auto number = [&](std::size_t i) {
        if (i >= w.size())
            throw ScriptError(line.number, "call " + op + " needs more arguments");
        return parseNumber<Long>(line.number, w[i]);
    };
    std::string result = "null";
    if (op == "UpdateFrame")
        game_.UpdateFrame();
    else if (op == "DrawBeam")
        result = Json::boolean(game_.DrawBeam(number(1)));
    else if (op == "DrawTarget") {
        Long style = number(1), pos = number(2);
        game_.DrawTarget(style, pos);
    } else if (op == "UpdateStage")
        game_.UpdateStage(number(1));
    else if (op == "UpdateStats")
        game_.UpdateStats();
    else if (op == "GetPraiseText") {
        Long points = number(1);
        result = Json::string(game_.GetPraiseText(points));
    } else
        throw ScriptError(line.number, "unknown operation \"" + op + "\"");
    out_ << "{\"call\":\"" << op << "\",\"result\":" << result << "}\n";
}
