#!/usr/bin/env bash
# The soak refuses options it cannot run with: status 2 and one message that names the
# option, before any game is played.
#   options.sh SOAK
set -uo pipefail
soak=$1
failures=0
while IFS='|' read -r arguments named; do
    message=$($soak $arguments 2>&1 >/dev/null)
    status=$?
    message=$(grep '^varnoth-soak: ' <<<"$message")
    if [[ $status != 2 || $message != "varnoth-soak: $named"* ]]; then
        echo "FAIL [$arguments]: status $status, said: $message"
        failures=$((failures + 1))
    fi
done <<'CASES'
--ticks -5|--ticks takes a positive whole number, not "-5"
--ticks abc|--ticks takes
--ticks 0|--ticks takes
--ticks 12x|--ticks takes
--ticks|Missing value after '--ticks'.
--start -1|--start takes
--start 4294967296|--start takes
--script /nonexistent/dir/s.txt|cannot write /nonexistent/dir/s.txt
--fast|Unknown option 'fast'.
CASES
echo "$failures failed"
((failures == 0))
