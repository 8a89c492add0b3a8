#include "tools/replay/StateDump.h"

#include "game/frmVarnoth.h"
#include "tools/replay/Json.h"
#include "view/VarnothForm.h"

#include <sstream>

namespace {

std::string record(const frmVarnoth& game) {
    const GameRecord& m = game.Record();
    std::ostringstream o;
    o << "{\"lGameState\":" << m.lGameState << ",\"dScore\":" << Json::number(m.dScore)
      << ",\"dHighScore\":" << Json::number(m.dHighScore)
      << ",\"sHighScoreWho\":" << Json::string(m.sHighScoreWho)
      << ",\"lLastHitPoints\":" << m.lLastHitPoints << ",\"lMessageTicks\":" << m.lMessageTicks
      << ",\"lExtraPoints\":" << m.lExtraPoints << ",\"lStage\":" << m.lStage
      << ",\"lHits\":" << m.lHits << ",\"lTargets\":" << m.lTargets << ",\"lLives\":" << m.lLives
      << ",\"sTypedKeys\":" << Json::string(m.sTypedKeys) << ",\"lTargetStyle\":" << m.lTargetStyle
      << ",\"lTargetStep\":" << m.lTargetStep << ",\"sngSpeed\":" << Json::number(m.sngSpeed)
      << ",\"lTargetPos\":" << m.lTargetPos << ",\"lShotPoints\":" << m.lShotPoints
      << ",\"lBeamStep\":" << m.lBeamStep << ",\"lBeamLength\":" << m.lBeamLength
      << ",\"lBeamLines\":" << m.lBeamLines << ",\"lBeamColor\":" << m.lBeamColor
      << ",\"lBeamWidth\":" << m.lBeamWidth
      << ",\"bBeamAtTarget\":" << Json::boolean(m.bBeamAtTarget)
      << ",\"bBeamPhase\":" << Json::boolean(game.BeamPhase()) << '}';
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

std::string drawing(const PictureBox& box) {
    static const char* const kinds[] = {"line", "box", "fill"};
    std::ostringstream o;
    o << '[';
    bool first = true;
    for (const DrawOp& op : box.Drawing()) {
        o << (first ? "" : ",");
        first = false;
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
    }
    o << ']';
    return o.str();
}

std::string dialogs(const std::vector<ScriptedPlatform::Dialog>& shown) {
    std::ostringstream o;
    o << '[';
    bool first = true;
    for (const auto& d : shown) {
        o << (first ? "" : ",");
        first = false;
        if (d.kind == ScriptedPlatform::Dialog::Kind::MsgBox)
            o << "{\"kind\":\"msgbox\",\"prompt\":" << Json::string(d.prompt)
              << ",\"style\":" << d.style << ",\"title\":" << Json::string(d.title)
              << ",\"answer\":" << d.answer << '}';
        else
            o << "{\"kind\":\"input\",\"prompt\":" << Json::string(d.prompt)
              << ",\"title\":" << Json::string(d.title)
              << ",\"default\":" << Json::string(d.defaultText)
              << ",\"answer\":" << Json::string(d.answerText) << '}';
    }
    o << ']';
    return o.str();
}

} // namespace

std::string StateDump::json(int line, const frmVarnoth& game, const VarnothForm& form,
                            const std::vector<ScriptedPlatform::Dialog>& shown) {
    return "{\"line\":" + std::to_string(line) + ",\"record\":" + record(game) +
           ",\"elements\":" + elements(form) + ",\"picGZone\":" + drawing(form.picGZone) +
           ",\"picFire\":" + drawing(form.picFire) + ",\"dialogs\":" + dialogs(shown) + "}";
}
