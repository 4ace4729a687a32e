#!/usr/bin/env bash
# Demonstration on a fresh data root under demo-root/ in the repository (or $VANTOR_DEMO_ROOT;
# wiped on each run): the meter emulator stands in for a meter in its cradle; its readings are
# uploaded, judged, listed, a simulated online sensor on the pump publishes through a throw-away
# MQTT broker to the ingest service, and everything is exported and imported into a second
# installation. Then, when a display
# is available, the desktop program opens on the demo plant (VANTOR_DEMO_WINDOW=0 skips it).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
vantor="$root/build/cli/vantor"
sim="$root/build/tools/meter-sim/vantor-meter-sim"
demo="${VANTOR_DEMO_ROOT:-$root/demo-root}"

rm -rf "$demo"
mkdir -p "$demo/common" "$demo/user" "$demo/config" "$demo/data"
export VANTOR_COMMON_APPDATA="$demo/common"
export VANTOR_USER_APPDATA="$demo/user"
export XDG_CONFIG_HOME="$demo/config"
export XDG_DATA_HOME="$demo/data"

step() { printf '\n== %s\n' "$*"; }

step "vantor init (data root under $demo/common)"
"$vantor" init
find "$demo/common" -mindepth 3 | sed "s|$demo/common/||" | sort

step "the meter emulator on a pseudo-terminal (scenario scripts/demo-meter.json)"
"$sim" --scenario "$root/scripts/demo-meter.json" --link "$demo/cradle" 2>"$demo/meter.log" >/dev/null &
sim_pid=$!
trap 'kill $sim_pid 2>/dev/null || true' EXIT
for _ in $(seq 50); do [[ -e "$demo/cradle" ]] && break; sleep 0.1; done
echo "cradle: $demo/cradle -> $(readlink "$demo/cradle")"

step "vantor meter info"
"$vantor" meter info --port "$demo/cradle"

step "vantor sync from-meter (a new meter is named 'Demo meter')"
# The machines the upload creates have no e-mail addresses yet, so no exception e-mail is due.
"$vantor" settings set EmailExceptionsOnUpload 0 >/dev/null
"$vantor" sync from-meter --port "$demo/cradle" --device-name "Demo meter" || echo "(exit $?)"

step "what arrived"
"$vantor" list machines
"$vantor" list vibs
"$vantor" list devices
"$vantor" list offroute | cut -f1-8

step "vantor status"
"$vantor" status

step "the pump's starter bearing, a baseline of its first three readings, and the diagnosis"
pump="$("$vantor" list vibs | awk -F'\t' '$4 == "Pump NDE" {print $1}')"
bearing="$("$vantor" bearing list | awk -F'\t' '$2 == "6205-2RS JEM" {print $1}')"
"$vantor" vib bearings "$pump" --add "$bearing" --location NDE
"$vantor" alarms "$pump" --measure iso --baseline 3
# An envelope band over the outer race's first line (BPFO about 87 Hz), drawn on the envelope view.
"$vantor" bands "$pump" add --from 80 --to 95 --spectrum envelope --warning 0.15 --critical 0.3
"$vantor" alarms "$pump"
"$vantor" diagnose "$("$vantor" list readings --parent "$pump" | tail -n 1 | cut -f1)"
"$vantor" status

step "the follow-up: due points, new events, the pump's event acknowledged, a recommendation and its outcome"
"$vantor" due
"$vantor" events --new | cut -f1-7
event="$("$vantor" events --new --point "$pump" | awk -F"\t" "NR == 1 { print \$1 }")"
if [[ -n "$event" ]]; then
    "$vantor" ack "$event" --comment "Seen on the trend and the envelope; raising a recommendation"
    recommendation="$("$vantor" recommend "$event" --action "Check the NDE bearing" --priority 2 \
        --due "$(date +%F)" --assign "Maintenance" --send | sed -n 1p)"
    "$vantor" recommendation close "$recommendation" --outcome confirmed --found "Outer race spalled"
    "$vantor" diagnosis-record
fi
"$vantor" compliance

step "online sensors: a throw-away MQTT broker, the ingest service and simulated sensors on the pump and the motor"
if command -v mosquitto >/dev/null 2>&1 || [[ -x /usr/sbin/mosquitto ]]; then
    broker="$(command -v mosquitto || echo /usr/sbin/mosquitto)"
    port="$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')"
    printf 'listener %s 127.0.0.1\nallow_anonymous true\npersistence false\n' "$port" > "$demo/broker.conf"
    "$broker" -c "$demo/broker.conf" >"$demo/broker.log" 2>&1 &
    broker_pid=$!
    # Every overall value is kept (one a second at most) so the short run leaves a trend.
    (umask 077 && printf 'host = 127.0.0.1\nport = %s\nsite = demo\nclient_id = vantor-demo\noverall_interval_s = 1\n' \
        "$port" > "$demo/ingest.conf")
    motor="$("$vantor" list vibs | awk -F'\t' '$4 == "Motor DE" {print $1}')"
    "$vantor" sensor add sim-1 "$pump"
    "$vantor" sensor add sim-2 "$motor"
    "$vantor" sensor list
    "$root/build/cli/vantor-ingest" --settings "$demo/ingest.conf" >"$demo/ingest.log" 2>&1 &
    ingest_pid=$!
    trap 'kill $sim_pid $ingest_pid $broker_pid 2>/dev/null || true' EXIT
    sleep 1
    # Two sensors, two overall values a second and a waveform every 5 s each, their faults growing
    # a simulated six hours a second; the messages are stamped on that clock over the last five
    # days, so the points' trends show the online values growing beside the route readings.
    "$root/build/tools/sensor-sim/vantor-sensor-sim" --port "$port" --site demo --sensors 2 --rate 2 \
        --waveform-every 5 --hours-per-second 6 --growth-hours 120 --backdate-hours 120 --duration 20
    sleep 1
    kill "$ingest_pid" 2>/dev/null || true
    wait "$ingest_pid" 2>/dev/null || true
    kill "$broker_pid" 2>/dev/null || true
    "$vantor" sensor values sim-1 | tail -n 5
    "$vantor" sensor values sim-2 | tail -n 3
    "$vantor" list readings --parent "$pump" | tail -n 2 | cut -f1,2,6,7
    "$vantor" status
else
    echo "(mosquitto is not installed here: scripts/setup.sh installs it)"
fi

step "vantor export, then import into a second installation"
"$vantor" export "$demo/plant.rmd"
ls -l "$demo/plant.rmd"
VANTOR_COMMON_APPDATA="$demo/second" "$vantor" init
VANTOR_COMMON_APPDATA="$demo/second" "$vantor" import "$demo/plant.rmd" --yes
VANTOR_COMMON_APPDATA="$demo/second" "$vantor" list readings | cut -f1,2,6,7

step "commands the meter received"
cat "$demo/meter.log"

desktop="$(find "$root/build/ui" -maxdepth 1 -type f -executable 2>/dev/null | head -n 1)"
open_line="VANTOR_COMMON_APPDATA='$demo/common' VANTOR_USER_APPDATA='$demo/user' XDG_CONFIG_HOME='$demo/config' XDG_DATA_HOME='$demo/data' '${desktop:-build/ui/Corvane}'"
if [[ "${VANTOR_DEMO_WINDOW:-1}" == 0 || -z "$desktop" ]]; then
    step "the desktop program on the demo plant"
    echo "$open_line"
elif [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
    step "the desktop program opens on the demo plant"
    # Detached, so it stays open after this script ends; its pid is kept for whoever closes it.
    setsid "$desktop" >"$demo/desktop.log" 2>&1 < /dev/null &
    echo $! > "$demo/desktop.pid"
    echo "$(basename "$desktop") is open (pid $(cat "$demo/desktop.pid")); to open it again later:"
    echo "$open_line"
else
    step "no display here; to see the demo plant in the desktop program, run on a desktop:"
    echo "$open_line"
fi
