#!/usr/bin/env bash
# The main job: Orvi attached to the simulated Skype client, publishing to a local presence server.
# Sets up a fresh Debian machine, builds, then starts presenceserver, skypesim (demo scenario) and
# orvi on a private session bus; under Xvfb with a tray host when there is no display.
#
# Usage: scripts/run-demo.sh [--screenshot-and-exit] [build-folder]
#   --screenshot-and-exit  take the screenshot once Orvi is connected, then stop everything.
# Otherwise it runs until Orvi is closed (tray "Exit", File > Exit) or Ctrl+C.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"

once=0
args=()
for a in "$@"; do
    case "$a" in
    --screenshot-and-exit) once=1 ;;
    --inner) ;;
    *) args+=("$a") ;;
    esac
done
build="${args[0]:-$here/build}"

# First pass: set up, build, and re-enter on a private bus so the demo never meets another Skype API.
if [ "${1:-}" != "--inner" ]; then
    bash "$here/scripts/setup.sh"
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" -j "$(nproc)" --target orvi skypesim presenceserver
    exec dbus-run-session -- bash "$0" --inner "$@"
fi

pids=()
cleanup() {
    # Newest first: Orvi closes (publishing offline) while Skype, the server and the display still run.
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
    export DISPLAY=:97
    Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    trayer --edge top --align right --widthtype request --height 24 --transparent false >/dev/null 2>&1 &
    pids+=($!)
    echo "Started Xvfb on $DISPLAY with a tray host."
fi

# A desktop session provides a private runtime folder; a bare shell may not.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR="$(mktemp -d)"
    export XDG_RUNTIME_DIR
fi

home="${ORVI_HOME:-$build/demo-home}"
mkdir -p "$home"
export ORVI_HOME="$home"
# Keep the demo's launch-on-startup entry and window settings out of the user's own ~/.config.
export XDG_CONFIG_HOME="$home/config"
# Trace logging on, so the log shows what happens.
[ -f "$home/Settings.xml" ] || echo '<Settings><LogFile>True</LogFile></Settings>' >"$home/Settings.xml"

portfile="$(mktemp)"
"$build/tools/presenceserver/presenceserver" --port 0 >"$portfile" &
pids+=($!)
for _ in $(seq 50); do [ -s "$portfile" ] && break; sleep 0.1; done
port="$(head -n1 "$portfile")"
rm -f "$portfile"
export ORVI_PRESENCE_URL="http://127.0.0.1:$port"
echo "Presence server: $ORVI_PRESENCE_URL (try $ORVI_PRESENCE_URL/status?username=alice)"

"$build/tools/skypesim/skypesim" "$here/tools/skypesim/scenarios/demo.json" &
pids+=($!)
for _ in $(seq 50); do
    gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.NameHasOwner com.Skype.API 2>/dev/null | grep -q true && break
    sleep 0.1
done

"$build/src/shell/orvi" &
orvi=$!
pids+=($orvi)

shot="$build/demo-screenshot.png"
for _ in $(seq 150); do
    grep -q "SkypeControl1Pong" "$home/Debug.log" 2>/dev/null && break
    sleep 0.1
done
sleep 1
import -window root "$shot" && echo "Screenshot of the window: $shot"
echo "Trace log: $home/Debug.log   Settings: $home/Settings.xml"

if [ "$once" = 1 ]; then
    exit 0
fi

cat <<EOF
Orvi runs. Drive the simulated Skype client from another shell on this bus:
  export DBUS_SESSION_BUS_ADDRESS='$DBUS_SESSION_BUS_ADDRESS'
  gdbus call --session --dest com.Skype.API --object-path /org/orvi/SkypeSim --method org.orvi.SkypeSim.SetUserStatus AWAY
  curl -s '$ORVI_PRESENCE_URL/status?username=alice'
Close Orvi (File > Exit) or press Ctrl+C to stop.
EOF
wait "$orvi" || true
