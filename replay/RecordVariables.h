#pragma once

#include "game/GameRecord.h"

#include <string_view>
#include <utility>
#include <variant>
#include <vector>

// The variables of a GameRecord by their own names, in the order the record declares them:
// the one list that both `set` and the dump go by, so neither can miss a variable.
//
//   for (const auto& [name, variable] : RecordVariables::of(game.Record())) ...
namespace RecordVariables {
using Variable = std::variant<Long*, Double*, Single*, String*, Boolean*>;
using ConstVariable =
    std::variant<const Long*, const Double*, const Single*, const String*, const Boolean*>;

std::vector<std::pair<std::string_view, Variable>> of(GameRecord& m);
std::vector<std::pair<std::string_view, ConstVariable>> of(const GameRecord& m);
} // namespace RecordVariables
