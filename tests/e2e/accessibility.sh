#!/usr/bin/env bash
# The program as a screen reader sees it, through AT-SPI in a private D-Bus session; the
# checks are in accessibility.py. Skips (77) where the accessibility tools are missing.
#   accessibility.sh BINARY     (inside an X server)
source "$(dirname "$0")/lib.sh"
need dbus-run-session
[[ -x /usr/libexec/at-spi-bus-launcher ]] || skip "the accessibility bus (at-spi2-core)"
# Debian's own interpreter holds pyatspi when another python3 comes first on the PATH.
for python in python3 /usr/bin/python3 ""; do
    [[ -n $python ]] || skip "pyatspi (python3-pyatspi)"
    "$python" -c 'import pyatspi' 2>/dev/null && break
done
# The session bus starts the accessibility bus when the program or the checker first asks.
timeout 60 dbus-run-session -- "$python" "$here/accessibility.py" "$1" "$WORK"
