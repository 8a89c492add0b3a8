#pragma once

#include "replay/ScriptedPlatform.h"

#include <string>
#include <vector>

class frmVarnoth;
class VarnothForm;

// The whole state of a game as one line of JSON: the record, the elements the game changes,
// what is drawn on the two picture boxes and the dialogs shown since the last dump. Written
// with Json rather than QJsonObject, which sorts its keys: a dump keeps the line first and the
// record's variables in the record's own order, so traces read and compare as they always have.
namespace StateDump {
std::string json(int line, const frmVarnoth& game, const VarnothForm& form,
                 const std::vector<ScriptedPlatform::Dialog>& dialogs);
} // namespace StateDump
