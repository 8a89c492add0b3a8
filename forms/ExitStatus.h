#pragma once

// How the programs end, as their callers read it: all went well, something failed (a
// run-time error of the game, a record or store that could not be written), or the command
// line or a script was refused.
namespace ExitStatus {
constexpr int kSuccess = 0;
constexpr int kFailure = 1;
constexpr int kRefused = 2;
} // namespace ExitStatus
