#!/usr/bin/env bash
# The program as a screen reader sees it, through AT-SPI in a private D-Bus session; the
# checks are in accessibility.py. Skips (77) where the accessibility tools are missing.
#   accessibility.sh BINARY     (inside an X server)
set -uo pipefail
here=$(dirname "$0")
skip() {
    echo "SKIP: $1 is not installed"
    exit 77
}

command -v dbus-run-session >/dev/null || skip "dbus-run-session (dbus)"
[[ -x /usr/libexec/at-spi-bus-launcher ]] || skip "the accessibility bus (at-spi2-core)"
# Debian's own interpreter holds pyatspi when another python3 comes first on the PATH.
python=
for candidate in python3 /usr/bin/python3; do
    "$candidate" -c 'import pyatspi' 2>/dev/null && python=$candidate && break
done
[[ -n $python ]] || skip "pyatspi (python3-pyatspi)"

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
# The session bus starts the accessibility bus when the program or the checker first asks.
timeout 60 dbus-run-session -- "$python" "$here/accessibility.py" "$1" "$WORK"
