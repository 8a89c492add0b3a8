#!/usr/bin/env bash
# The real program ended by SIGTERM, SIGINT or SIGHUP, or by losing its X display, while
# another program holds the store across a game over with a new best: the save kept for the
# busy store is made on the way out once the store is free, as when the window is closed.
#   signals.sh BINARY
source "$(dirname "$0")/lib.sh"
binary=$1
need python3 Xvfb stdbuf
export VARNOTH_REGISTRY=$WORK/store.db

# The last life lost with 5000 points, the name given, the game-over screen dumped; then the
# game goes on for a long while.
printf 'set lLives 0\nset lTargetPos 8200\ntick\nset dScore 5000\ninput Ann\ntick 2\ndump\ntick 4000\n' \
    >"$WORK/over.txt"
: >"$WORK/empty.txt"

# hold: holds the store locked, in the background, until the file $WORK/free appears.
hold() {
    rm -f "$WORK/free" "$WORK/held"
    python3 - "$VARNOTH_REGISTRY" "$WORK" <<'PY' &
import os, sqlite3, sys, time
db = sqlite3.connect(sys.argv[1], isolation_level=None)
db.execute("BEGIN EXCLUSIVE")
open(sys.argv[2] + "/held", "w").close()
while not os.path.exists(sys.argv[2] + "/free"):
    time.sleep(0.01)
PY
    pids+=("$!")
    for _ in $(seq 500); do [[ -e $WORK/held ]] && return; sleep 0.01; done
}

stored() {
    python3 -c 'import sqlite3, sys
rows = dict(sqlite3.connect(sys.argv[1]).execute("SELECT name, data FROM vals"))
print(rows[b"HighScoreWho"].rstrip(b"\0").decode(), int.from_bytes(rows[b"HighScore"], "little"))' \
        "$VARNOTH_REGISTRY"
}

# ending CASE STATUS: a store made by a first start, held; the game played to its game over
# and ended as CASE says (a signal's name, or "display"); the store freed half a second later.
ending() {
    rm -f "$VARNOTH_REGISTRY"
    "$binary" -platform offscreen --replay "$WORK/empty.txt" >/dev/null 2>&1
    hold
    local platform=(-platform offscreen)
    if [[ $1 == display ]]; then
        Xvfb -displayfd 3 -nolisten tcp 3>"$WORK/display" 2>/dev/null &
        local xvfb=$!
        pids+=("$xvfb")
        for _ in $(seq 500); do [[ -s $WORK/display ]] && break; sleep 0.01; done
        platform=(-platform xcb -display ":$(cat "$WORK/display")")
    fi
    stdbuf -oL "$binary" "${platform[@]}" --replay "$WORK/over.txt" >"$WORK/out.txt" 2>"$WORK/err.txt" &
    local game=$!
    for _ in $(seq 1000); do grep -q dScore "$WORK/out.txt" && break; sleep 0.01; done
    if [[ $1 == display ]]; then kill "$xvfb"; else kill -s "$1" "$game"; fi
    sleep 0.5
    touch "$WORK/free"
    wait "$game"
    check "$1: the program ends with status $2" "$2" "$?"
    check "$1: the kept save is made" "Ann 5000" "$(stored)"
    check "$1: nothing said of it" "" "$(grep 'best score' "$WORK/err.txt")"
}

ending TERM 0
ending INT 0
ending HUP 0
# Qt itself ends the program when the X server goes away.
ending display 1
finish
