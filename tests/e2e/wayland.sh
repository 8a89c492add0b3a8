#!/usr/bin/env bash
# A short replayed game in a Wayland session (weston without a screen), as on a desktop
# that runs no X server: the window opens and paints, the game plays a hit, the program
# exits 0. Skips (77) where weston or Qt's Wayland plugin is missing.
#   wayland.sh BINARY QTPATHS     (QTPATHS: Qt's qtpaths tool)
source "$(dirname "$0")/lib.sh"
need weston
compgen -G "$("$2" --query QT_INSTALL_PLUGINS)/platforms/libqwayland-*.so" >/dev/null ||
    skip "Qt's Wayland plugin (qt6-wayland)"

export XDG_RUNTIME_DIR=$WORK/runtime WAYLAND_DISPLAY=varnoth-e2e VARNOTH_REGISTRY=$WORK/store.db
mkdir -m 700 "$XDG_RUNTIME_DIR"
weston --no-config --backend=headless-backend.so --use-pixman --idle-time=0 \
    --socket="$WAYLAND_DISPLAY" >"$WORK/weston.log" 2>&1 &
pids+=($!)
for _ in $(seq 1 200); do
    [[ -S $XDG_RUNTIME_DIR/$WAYLAND_DISPLAY ]] || ! kill -0 "${pids[0]}" 2>/dev/null && break
    sleep 0.05
done
[[ -S $XDG_RUNTIME_DIR/$WAYLAND_DISPLAY ]] || { cat "$WORK/weston.log"; echo "FAIL weston never listened"; exit 1; }

# As a Wayland desktop starts it: only WAYLAND_DISPLAY names the screen.
replay_hit env -u DISPLAY -u QT_QPA_PLATFORM XDG_SESSION_TYPE=wayland "$1"
finish
