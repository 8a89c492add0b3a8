#!/usr/bin/env bash
# The window of the real program: its X class, size, caption, what it shows at start, the
# fire button answering a real click and a real Space key, and a recorded game played back.
#   window.sh BINARY
set -uo pipefail
binary=$1
here=$(dirname "$0")
WORK=$(mktemp -d)
trap 'stop_game; rm -rf "$WORK"' EXIT
source "$here/lib.sh"

# A record that cannot be written is refused before the window opens, with a message.
refusal=$(VARNOTH_REGISTRY=$WORK/store.db timeout 20 "$binary" --record /dev/full 2>&1 >/dev/null)
check "--record to a full disk fails with a message" "1 yes" \
    "$? $([[ $refusal == *"varnoth: "*"/dev/full"* ]] && echo yes)"

# -name is one of Qt's own options: the window's X class name shows that it reached Qt, and
# its class must be what the desktop entry promises, or docks show a second, iconless entry.
start_game "$binary" -name varnoth-e2e
wm_class=$(sed -n 's/^StartupWMClass=//p' "$here/../../packaging/io.github.varnoth.Varnoth.desktop")
check "WM_CLASS" "WM_CLASS(STRING) = \"varnoth-e2e\", \"$wm_class\"" "$(xprop -id "$WINDOW" WM_CLASS)"

read -r width height < <(xwininfo -id "$WINDOW" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w, h}')
check "client area" "520x472" "${width}x${height}"
check "caption" ".:Varnoth:." "$(xdotool getwindowname "$WINDOW")"

shot "$WORK/start.png"
check "play field background" "255,255,255" "$(pixel "$WORK/start.png" 20 200)"
check "score label black" "0,0,0" "$(pixel "$WORK/start.png" $(px 930) $(px 640))"
check "lamp 0 grey at stage 0" "192,192,192" "$(pixel "$WORK/start.png" $(px 300) $(px 6420))"
check "lamp 9 grey at stage 0" "192,192,192" "$(pixel "$WORK/start.png" $(px 2460) $(px 6420))"
check "fire button bright red while aiming" "255,0,0" "$(pixel "$WORK/start.png" $(px 3640) $(px 6170))"
check "message bar black" "0,0,0" "$(pixel "$WORK/start.png" $(px 5900) $(px 6750))"

# A real click on the fire button fires: the button turns dark while the shot is under way,
# and the zigzag beam shows under the device within a few frames.
click_at $(px 3700) $(px 6200)
beam=no
for i in $(seq 1 12); do
    shot "$WORK/shot-$i.png"
    if [[ $(pixel "$WORK/shot-$i.png" $(px 3640) $(px 6170)) == "128,0,0" ]]; then
        for y in $(seq 160 10 330); do
            for x in $(seq 259 267); do
                [[ $(pixel "$WORK/shot-$i.png" "$x" "$y") == "0,0,255" ]] && beam=yes && break 3
            done
        done
    fi
done
check "fire button dark and beam drawn after a click" "yes" "$beam"

# Wait for the shot to end, then fire with a real Space key on the focused fire button.
sleep 1.5
shot "$WORK/aiming.png"
check "fire button bright again after the shot" "255,0,0" "$(pixel "$WORK/aiming.png" $(px 3640) $(px 6170))"
xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true
xdotool key --window "$WINDOW" space
dark=no
for i in $(seq 1 10); do
    shot "$WORK/space-$i.png"
    [[ $(pixel "$WORK/space-$i.png" $(px 3640) $(px 6170)) == "128,0,0" ]] && dark=yes && break
done
check "Space on the fire button fires" "yes" "$dark"
stop_game

# A recorded game played back in the window: a direct hit, its dump, and the figures.
printf 'set lTargetStep 0\nset lTargetPos 4150\nclick\ntick 22\ndump\n' > "$WORK/hit.txt"
timeout 30 "$binary" --replay "$WORK/hit.txt" --stats > "$WORK/replay.out"
check "replay exit status" "0" "$?"
check "replay scored the hit" "1000 22" "$(sed -n '1s/.*"dScore":\([0-9]*\).*/\1/p;2s/{"ticks":\([0-9]*\).*/\1/p' "$WORK/replay.out" | paste -sd' ')"

finish
