#!/usr/bin/env bash
# The user guide's screenshots (docs/guide/images/*.png), made from the demo plant: the demonstration
# runs on a fresh data root, then the desktop program opens on it under a virtual X server at
# 1024x768 and is driven with xdotool like a user would; each shot is scaled down and reduced to a
# small palette so that the committed files stay small. Needs the build, xvfb-run, xdotool and
# imagemagick (scripts/setup.sh installs them).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${1:-$root/docs/guide/images}"
work="$(mktemp -d)"
cleanup() {
    if [[ -s "$work/desktop.pid" ]]; then kill "$(cat "$work/desktop.pid")" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

VANTOR_DEMO_ROOT="$work/demo" VANTOR_DEMO_WINDOW=0 "$root/scripts/demo.sh" >"$work/demo.log" 2>&1 ||
    { tail -n 20 "$work/demo.log" >&2; exit 1; }
mkdir -p "$out"

env -u QT_QPA_PLATFORM xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -euo pipefail
    root="$1"; work="$2"; out="$3"
    demo="$work/demo"
    export VANTOR_COMMON_APPDATA="$demo/common" VANTOR_USER_APPDATA="$demo/user"
    export XDG_CONFIG_HOME="$demo/config" XDG_DATA_HOME="$demo/data"
    desktop="$(find "$root/build/ui" -maxdepth 1 -type f -executable | head -n 1)"
    "$desktop" >"$work/desktop.log" 2>&1 </dev/null &
    echo $! >"$work/desktop.pid"
    window="$(xdotool search --sync --onlyvisible --pid "$(cat "$work/desktop.pid")" | head -n 1)"
    xdotool windowmove "$window" 0 0 windowsize "$window" 1024 768 windowfocus --sync "$window"
    sleep 2
    # shot NAME: the whole screen, scaled to 800 pixels wide with a 64-colour palette.
    shot() {
        sleep 1.5
        import -window root "$work/$1.png"
        convert "$work/$1.png" -resize 800x -colors 64 -strip "PNG8:$out/$1.png"
        echo "$out/$1.png: $(stat -c %s "$out/$1.png") bytes"
    }
    # The tree has the focus with the plant selected: Down selects the first machine, then its first point.
    xdotool key --window "$window" Down
    shot main-window
    xdotool key --window "$window" Down
    shot trend
    # The spectrum tab, second of the point views, right of the tree.
    xdotool key --window "$window" Tab
    xdotool key --window "$window" ctrl+Tab
    shot spectrum
    # Report Wizard > Create Report... through the menu mnemonics.
    xdotool key --window "$window" alt+e Return
    shot report-wizard
    xdotool key Escape
' _ "$root" "$work" "$out"
