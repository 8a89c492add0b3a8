# Helpers for the end-to-end runs, sourced first by each script: a work folder and the
# processes started in it cleared away on exit, skips, checks and their failures counted, and the
# real program in a real X server looked at through screenshots.
set -uo pipefail
here=$(dirname "${BASH_SOURCE[0]}")
WORK=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" && wait "$p"; done 2>/dev/null; rm -rf "$WORK"' EXIT
failures=0

skip() { echo "SKIP: $1 is not installed"; exit 77; }
need() { for tool; do command -v "$tool" >/dev/null || skip "$tool"; done; }

check() { # check DESCRIPTION EXPECTED ACTUAL
    [[ "$2" == "$3" ]] && echo "ok   $1" && return
    echo "FAIL $1: expected '$2', saw '$3'"
    failures=$((failures + 1))
}
passes() { "${@:2}"; check "$1" 0 "$?"; } # passes DESCRIPTION COMMAND...

finish() { echo "$failures failed" && ((failures == 0)); }

# replay_hit COMMAND...: plays a shot at a target right under the device, a script of many
# lines, in the real program; it exits 0 with the hit scored after every tick ran.
replay_hit() {
    printf 'tick 20\nset lTargetStep 0\nset lTargetPos 4150\nclick\ntick 22\ndump\ntick 20\n' \
        >"$WORK/hit.txt"
    out=$(timeout 30 "$@" --replay "$WORK/hit.txt" --stats)
    check "the replay exits 0" 0 "$?"
    check "the hit scored, every tick played" "1000 62" \
        "$(grep -o '"dScore":[0-9]*\|"ticks":[0-9]*' <<<"$out" | cut -d: -f2 | paste -sd' ')"
    # The rhythm, not only the end: a tick every 25 ms, give or take a loaded machine's lag.
    check "a tick every 25 ms" yes "$(grep -qE '"p50":2[2-8][.,}]' <<<"$out" && echo yes)"
    check "the first frame painted, timed from the process's start" yes \
        "$(grep -qE '"startup_ms":[1-9][0-9]{0,3}\.' <<<"$out" && echo yes)"
}

# start_game BINARY [ARGS...]: starts the program with a fresh store, waits for its window
# and sets WINDOW and GAME_PID.
start_game() {
    export VARNOTH_REGISTRY=$WORK/store.db
    "$@" &
    GAME_PID=$!
    pids+=("$GAME_PID")
    WINDOW=$(timeout 20 xdotool search --sync --onlyvisible --name '^\.:Varnoth:\.$' | head -n 1)
    [[ -n "$WINDOW" ]] || { echo "FAIL the window never appeared"; exit 1; }
    sleep 0.5
}

shot() { import -window "$WINDOW" "$WORK/now.png"; } # the window's client area, now

# pixel X Y: the colour at window pixel (X, Y) of the last shot as "r,g,b".
pixel() {
    convert "$WORK/now.png" -format "%[fx:int(255*p{$1,$2}.r+0.5)],%[fx:int(255*p{$1,$2}.g+0.5)],%[fx:int(255*p{$1,$2}.b+0.5)]" info:
}

px() { echo $((($1 + 7) / 15)); } # px TWIPS: the window pixel of a twip position

# until_shot TRIES COMMAND...: takes shots until COMMAND succeeds on one; fails if none does.
until_shot() { for _ in $(seq 1 "$1"); do shot && "${@:2}" && return; done; false; }
