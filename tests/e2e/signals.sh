#!/usr/bin/env bash
# The real program ended by SIGTERM, SIGINT or SIGHUP, or by losing its X display, while
# another program holds the store across a game over with a new best: the save kept for the
# busy store is made on the way out once the store is free, as when the window is closed.
#   signals.sh BINARY
source "$(dirname "$0")/lib.sh"
binary=$1
need python3 Xvfb stdbuf
export VARNOTH_REGISTRY=$WORK/store.db
# stdbuf preloads its own library ahead of everything, which a sanitizer build refuses by
# default; the order does not matter to what this test looks at.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0
: >"$WORK/empty.txt"
# The last life lost with 5000 points and the name given; then the game goes on for long.
printf 'set lLives 0\nset lTargetPos 8200\ntick\nset dScore 5000\ninput Ann\ntick 2\ndump\ntick 4000\n' \
    >"$WORK/over.txt"
# store.py hold: holds the store locked until the file "free" appears; store.py: the record.
cat >"$WORK/store.py" <<'PY'
import os, sqlite3, sys, time
db = sqlite3.connect(os.environ["VARNOTH_REGISTRY"], isolation_level=None)
if sys.argv[1:] == ["hold"]:
    db.execute("BEGIN EXCLUSIVE")
    open(os.environ["WORK"] + "/held", "w").close()
    while not os.path.exists(os.environ["WORK"] + "/free"):
        time.sleep(0.01)
rows = dict(db.execute("SELECT name, data FROM vals"))
print(rows[b"HighScoreWho"].rstrip(b"\0").decode(), int.from_bytes(rows[b"HighScore"], "little"))
PY
export WORK
# within WHAT COMMAND...: waits up to 20 s for COMMAND to succeed, or counts a failure.
within() {
    for _ in $(seq 2000); do "${@:2}" && return; sleep 0.01; done
    check "$1 within 20 s" yes no
    return 1
}

# ending CASE STATUS: a store made by a first start and held; the game played to its game over
# and ended as CASE says (a signal's name, or "display"); the store freed half a second later.
ending() {
    rm -f "$VARNOTH_REGISTRY" "$WORK"/{held,free,display,out.txt}
    "$binary" -platform offscreen --replay "$WORK/empty.txt" >/dev/null 2>&1
    python3 "$WORK/store.py" hold >/dev/null 2>&1 &
    pids+=("$!")
    local platform=(-platform offscreen) xvfb
    if [[ $1 == display ]]; then
        Xvfb -displayfd 3 -nolisten tcp 3>"$WORK/display" 2>/dev/null &
        xvfb=$!
        pids+=("$xvfb")
        within "$1: an X server" test -s "$WORK/display"
        platform=(-platform xcb -display ":$(cat "$WORK/display")")
    fi
    within "$1: the store held" test -e "$WORK/held"
    stdbuf -oL "$binary" "${platform[@]}" --replay "$WORK/over.txt" >"$WORK/out.txt" 2>&1 &
    local game=$!
    within "$1: the game over" grep -q dScore "$WORK/out.txt"
    if [[ $1 == display ]]; then kill "$xvfb"; else kill -s "$1" "$game"; fi
    sleep 0.5
    touch "$WORK/free"
    within "$1: the end" eval '! kill -0 "$game" 2>/dev/null' || kill -9 "$game"
    wait "$game"
    check "$1: the program ends with status $2" "$2" "$?"
    check "$1: the kept save is made, without a word" "Ann 5000" \
        "$(python3 "$WORK/store.py"; grep 'best score' "$WORK/out.txt")"
}

ending TERM 0
ending INT 0
ending HUP 0
# Qt itself ends the program when the X server goes away.
ending display 1
finish
