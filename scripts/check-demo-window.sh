#!/usr/bin/env bash
# The demonstration's display branch: under a virtual X server, ./run demo's script ends with the
# desktop program's window open on the demo plant. Needs the build, xvfb-run and xdotool.
# The desktop runs on the X server even where the tests set the offscreen platform.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
work="$(mktemp -d)"
cleanup() {
    if [[ -s "$work/demo/desktop.pid" ]]; then kill "$(cat "$work/demo/desktop.pid")" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

env -u QT_QPA_PLATFORM VANTOR_DEMO_ROOT="$work/demo" xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -euo pipefail
    "$1/scripts/demo.sh" > "$2/demo.log" 2>&1
    [[ -s "$2/demo/desktop.pid" ]] || { echo "the demo opened no desktop program" >&2; exit 1; }
    # The main window, titled by the edition, must appear within a minute.
    for _ in $(seq 120); do
        if xdotool search --onlyvisible --pid "$(cat "$2/demo/desktop.pid")" >/dev/null 2>&1; then
            echo "window: $(xdotool search --onlyvisible --pid "$(cat "$2/demo/desktop.pid")" getwindowname | head -n 1)"
            exit 0
        fi
        sleep 0.5
    done
    echo "no window of the desktop program appeared" >&2
    tail -n 20 "$2/demo/desktop.log" >&2 || true
    exit 1
' _ "$root" "$work"
