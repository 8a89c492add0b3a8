#!/usr/bin/env bash
# The window of the real program: its X class, size and caption, the fire button answering a
# real click and a real Space key, and a recorded game played back. What it shows is for the
# reference pictures of tests/window to say.
#   window.sh BINARY
source "$(dirname "$0")/lib.sh"
binary=$1

# A record that cannot be written is refused before the window opens, with a message.
refusal=$(VARNOTH_REGISTRY=$WORK/store.db timeout 20 "$binary" --record /dev/full 2>&1 >/dev/null)
check "--record to a full disk fails with a message" "1 yes" \
    "$? $([[ $refusal == *"varnoth: "*"/dev/full"* ]] && echo yes)"

# -name is one of Qt's own options: the window's X class name shows that it reached Qt, and
# its class must be what the desktop entry promises, or docks show a second, iconless entry.
start_game "$binary" -name varnoth-e2e
wm_class=$(sed -n 's/^StartupWMClass=//p' "$here/../../packaging/io.github.varnoth.Varnoth.desktop")
check "WM_CLASS" "WM_CLASS(STRING) = \"varnoth-e2e\", \"$wm_class\"" "$(xprop -id "$WINDOW" WM_CLASS)"
check "client area" "520x472" "$(xwininfo -id "$WINDOW" | awk '/Width:/{w=$2} /Height:/{print w "x" $2}')"
check "caption" ".:Varnoth:." "$(xdotool getwindowname "$WINDOW")"

fire="$(px 3640) $(px 6170)"
# A real click on the fire button fires: the button turns dark while the shot is under way,
# and the zigzag beam shows under the device within a few frames.
dark() { [[ $(pixel $fire) == "128,0,0" ]]; }
beam() { dark && [[ $(convert "$WORK/now.png" -crop 9x171+259+160 txt:-) == *"#0000FF"* ]]; }
xdotool mousemove --window "$WINDOW" $(px 3700) $(px 6200) click 1
passes "fire button dark and beam drawn after a click" until_shot 12 beam

# Once the shot ends, a real Space key on the focused fire button fires again.
sleep 1.5
shot
check "fire button bright again after the shot" "255,0,0" "$(pixel $fire)"
xdotool windowfocus --sync "$WINDOW" 2>/dev/null
xdotool key --window "$WINDOW" space
passes "Space on the fire button fires" until_shot 10 dark
# A logout ends the game as closing its window does.
kill "$GAME_PID"
wait "$GAME_PID"
check "the game ended by SIGTERM exits 0" 0 "$?"

# A record that fills its disk midway is given up and removed, and the game's end says so with
# status 1. The disk is a file size limit, whose signal is ignored so that the write fails.
start_game bash -c 'trap "" XFSZ; ulimit -f 1; exec "$0" "$@"' "$binary" --record "$WORK/cut.txt"
xdotool windowfocus --sync "$WINDOW" 2>/dev/null
xdotool key --window "$WINDOW" --repeat 200 --delay 5 space
for _ in $(seq 100); do [[ -e $WORK/cut.txt ]] || break; sleep 0.1; done
kill "$GAME_PID"
wait "$GAME_PID"
check "a record cut short: status 1, no file left" "1 no" "$? $([[ -e $WORK/cut.txt ]] && echo yes || echo no)"

replay_hit "$binary"
check "a script that cannot be read is refused" 2 \
    "$(timeout 20 "$binary" --replay "$WORK/none.txt" 2>/dev/null; echo $?)"
echo tik >"$WORK/bad.txt"
check "a faulty line is refused, named" "varnoth: script line 1: unknown command \"tik\" 2" \
    "$(timeout 20 "$binary" --replay "$WORK/bad.txt" 2>&1 >/dev/null | grep '^varnoth' | tr '\n' ' '; echo "${PIPESTATUS[0]}")"
# A platform named on the command line is a screen to open the window on.
replay_hit env -u DISPLAY -u QT_QPA_PLATFORM "$binary" -platform offscreen
finish
