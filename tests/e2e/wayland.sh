#!/usr/bin/env bash
# A short replayed game in a Wayland session (weston without a screen), as on a desktop
# that runs no X server: the window opens and paints, the game plays a hit, the program
# exits 0. Skips (77) where weston or Qt's Wayland plugin is missing.
#   wayland.sh BINARY QTPATHS     (QTPATHS: Qt's qtpaths tool)
set -uo pipefail
binary=$1
here=$(dirname "$0")
skip() {
    echo "SKIP: $1 is not installed"
    exit 77
}
command -v weston >/dev/null || skip "weston"
compgen -G "$("$2" --query QT_INSTALL_PLUGINS)/platforms/libqwayland-*.so" >/dev/null ||
    skip "Qt's Wayland plugin (qt6-wayland)"

WORK=$(mktemp -d)
export XDG_RUNTIME_DIR=$WORK/runtime WAYLAND_DISPLAY=varnoth-e2e VARNOTH_REGISTRY=$WORK/store.db
mkdir -m 700 "$XDG_RUNTIME_DIR"
weston --no-config --backend=headless-backend.so --use-pixman --idle-time=0 \
    --socket="$WAYLAND_DISPLAY" >"$WORK/weston.log" 2>&1 &
weston=$!
trap 'kill $weston 2>/dev/null; wait $weston 2>/dev/null; rm -rf "$WORK"' EXIT
source "$here/lib.sh"

for _ in $(seq 1 200); do
    [[ -S $XDG_RUNTIME_DIR/$WAYLAND_DISPLAY ]] && break
    kill -0 $weston 2>/dev/null || break
    sleep 0.05
done
if [[ ! -S $XDG_RUNTIME_DIR/$WAYLAND_DISPLAY ]]; then
    cat "$WORK/weston.log"
    echo "FAIL weston never listened"
    exit 1
fi

# A target right under the device, a shot, and the hit it scores.
cat >"$WORK/game.txt" <<'SCRIPT'
tick 20
set lTargetStep 0
set lTargetPos 4150
click
tick 22
dump
tick 20
SCRIPT
out=$(env -u DISPLAY QT_QPA_PLATFORM=wayland timeout 20 "$binary" --replay "$WORK/game.txt" --stats)
status=$?
check "the replay ends with status 0" 0 "$status"
check "the hit is scored" 1000 "$(grep -o '"dScore":[0-9]*' <<<"$out" | cut -d: -f2)"
check "the window painted" yes "$(grep -q '"startup_ms":[0-9]' <<<"$out" && echo yes)"
finish
