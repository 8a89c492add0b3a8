# Helpers for the end-to-end runs: the real program in a real X server, looked at through
# screenshots. Sourced by the scenario scripts, which run inside xvfb-run.

failures=0
checks=0

check() { # check DESCRIPTION EXPECTED ACTUAL
    checks=$((checks + 1))
    if [[ "$2" == "$3" ]]; then
        echo "ok   $1"
    else
        echo "FAIL $1: expected '$2', saw '$3'"
        failures=$((failures + 1))
    fi
}

# start_game BINARY [ARGS...]: starts the program with a fresh store, waits for its window
# and sets WINDOW and GAME_PID.
start_game() {
    export VARNOTH_REGISTRY=$WORK/store.db
    "$@" &
    GAME_PID=$!
    WINDOW=$(timeout 20 xdotool search --sync --onlyvisible --name '^\.:Varnoth:\.$' | head -n 1)
    [[ -n "$WINDOW" ]] || { echo "FAIL the window never appeared"; exit 1; }
    sleep 0.5
}

stop_game() { kill "$GAME_PID" 2>/dev/null || true; wait "$GAME_PID" 2>/dev/null || true; }

shot() { # shot FILE: a screenshot of the window's client area
    import -window "$WINDOW" "$1"
}

# pixel FILE X Y: the colour at window pixel (X, Y) as "r,g,b".
pixel() {
    convert "$1" -format '%[fx:int(255*p{'"$2,$3"'}.r+0.5)],%[fx:int(255*p{'"$2,$3"'}.g+0.5)],%[fx:int(255*p{'"$2,$3"'}.b+0.5)]' info:
}

# px TWIPS: window pixel of a twip position.
px() { echo $(( ($1 + 7) / 15 )); }

click_at() { # click_at X Y (window pixels)
    xdotool mousemove --window "$WINDOW" "$1" "$2" click 1
}

finish() {
    echo "$((checks - failures)) passed, $failures failed"
    ((failures == 0))
}
