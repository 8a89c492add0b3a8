#include "replay/StateDump.h"

#include "game/VarnothForm.h"
#include "game/frmVarnoth.h"
#include "replay/Json.h"
#include "replay/RecordVariables.h"

#include <sstream>
#include <type_traits>
#include <utility>
#include <variant>

namespace {

std::string record(const frmVarnoth& game) {
    std::ostringstream o;
    o << '{';
    for (const auto& [name, variable] : RecordVariables::of(game.Record())) {
        o << '"' << name << "\":";
        std::visit(
            [&o](const auto* value) {
                using T = std::remove_cv_t<std::remove_pointer_t<decltype(value)>>;
                if constexpr (std::is_same_v<T, Long>)
                    o << *value;
                else if constexpr (std::is_same_v<T, String>)
                    o << Json::string(*value);
                else if constexpr (std::is_same_v<T, Boolean>)
                    o << Json::boolean(*value);
                else
                    o << Json::number(*value);
            },
            variable);
        o << ',';
    }
    o << "\"bBeamPhase\":" << Json::boolean(game.BeamPhase()) << '}';
    return o.str();
}

std::string elements(const VarnothForm& f) {
    std::ostringstream o;
    o << "{\"lblScore.Caption\":" << Json::string(f.lblScore.Caption())
      << ",\"lblScore.BackColor\":" << f.lblScore.BackColor()
      << ",\"lblScore.ForeColor\":" << f.lblScore.ForeColor()
      << ",\"lblHighScore.Caption\":" << Json::string(f.lblHighScore.Caption())
      << ",\"lblStat.Caption\":" << Json::string(f.lblStat.Caption())
      << ",\"lblLives.Caption\":" << Json::string(f.lblLives.Caption())
      << ",\"lblExtras.Caption\":" << Json::string(f.lblExtras.Caption());
    for (int i = 0; i < VarnothForm::kLamps; ++i)
        o << ",\"lblExtraIndicator(" << i
          << ").BackColor\":" << f.lblExtraIndicator[static_cast<std::size_t>(i)].BackColor();
    o << ",\"imgDevice.Top\":" << Json::number(f.imgDevice.Top())
      << ",\"imgDevice.Picture\":" << f.imglstDevice.IndexOf(f.imgDevice.Picture())
      << ",\"imgComputer.Picture\":" << f.imglstComputer.IndexOf(f.imgComputer.Picture())
      << ",\"picExplosion.Left\":" << Json::number(f.picExplosion.Left())
      << ",\"picExplosion.Visible\":" << Json::boolean(f.picExplosion.Visible())
      << ",\"picFire.BackColor\":" << f.picFire.BackColor()
      << ",\"picFire.ForeColor\":" << f.picFire.ForeColor()
      << ",\"picGZone.DrawWidth\":" << f.picGZone.DrawWidth()
      << ",\"tmrState.Enabled\":" << Json::boolean(f.tmrState.Enabled())
      << ",\"tmrState.Interval\":" << f.tmrState.Interval()
      << ",\"tmrExtras.Enabled\":" << Json::boolean(f.tmrExtras.Enabled()) << '}';
    return o.str();
}

// The items as a JSON array, each written by `write`.
template <typename Items, typename Write>
std::string array(const Items& items, const Write& write) {
    std::ostringstream o;
    o << '[';
    const char* separator = "";
    for (const auto& item : items) {
        o << std::exchange(separator, ",");
        write(o, item);
    }
    o << ']';
    return o.str();
}

std::string drawing(const PictureBox& box) {
    static const char* const kinds[] = {"line", "box", "fill"};
    return array(box.Drawing(), [](std::ostream& o, const DrawOp& op) {
        if (op.kind == DrawOp::Kind::Text) {
            o << "{\"op\":\"text\",\"x\":" << Json::number(op.x1)
              << ",\"y\":" << Json::number(op.y1) << ",\"text\":" << Json::string(op.text)
              << ",\"size\":" << Json::number(op.font.Size)
              << ",\"bold\":" << Json::boolean(op.font.Bold) << ",\"color\":" << op.color << '}';
        } else {
            o << "{\"op\":\"" << kinds[static_cast<int>(op.kind)]
              << "\",\"x1\":" << Json::number(op.x1) << ",\"y1\":" << Json::number(op.y1)
              << ",\"x2\":" << Json::number(op.x2) << ",\"y2\":" << Json::number(op.y2)
              << ",\"color\":" << op.color << ",\"width\":" << op.width << '}';
        }
    });
}

std::string dialogs(const std::vector<ScriptedPlatform::Dialog>& shown) {
    return array(shown, [](std::ostream& o, const ScriptedPlatform::Dialog& d) {
        if (d.kind == ScriptedPlatform::Dialog::Kind::MsgBox)
            o << "{\"kind\":\"msgbox\",\"prompt\":" << Json::string(d.prompt)
              << ",\"style\":" << d.style << ",\"title\":" << Json::string(d.title)
              << ",\"answer\":" << d.answer << '}';
        else
            o << "{\"kind\":\"input\",\"prompt\":" << Json::string(d.prompt)
              << ",\"title\":" << Json::string(d.title)
              << ",\"default\":" << Json::string(d.defaultText)
              << ",\"answer\":" << Json::string(d.answerText) << '}';
    });
}

} // namespace

std::string StateDump::json(int line, const frmVarnoth& game, const VarnothForm& form,
                            const std::vector<ScriptedPlatform::Dialog>& shown) {
    return "{\"line\":" + std::to_string(line) + ",\"record\":" + record(game) +
           ",\"elements\":" + elements(form) + ",\"picGZone\":" + drawing(form.picGZone) +
           ",\"picFire\":" + drawing(form.picFire) + ",\"dialogs\":" + dialogs(shown) + "}";
}
