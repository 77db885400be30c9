#!/usr/bin/env bash
# Starts the program on a private X server with its own D-Bus session and accessibility
# bus, then runs the accessible flow against it. Usage: run_accessible_flow.sh PROGRAM CLI
set -euo pipefail
program=$1
cli=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

/usr/bin/python3 -c "import pyatspi" 2>/dev/null || { echo "python3-pyatspi is missing: run scripts/bootstrap" >&2; exit 1; }

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [[ -s "$work/display" ]] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"

mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
printf '[Splash]\nUse=0\n' >"$work/home/Ferrox6Plus.ini"
export XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache" XDG_DATA_HOME="$work/data"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0

dbus-run-session -- bash -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately & launcher=$!
  sleep 1
  "$0" --home "$1/home" >"$1/program.log" 2>&1 & app=$!
  status=0
  /usr/bin/python3 "$2/accessible_flow.py" "$3" || status=$?
  kill $app $launcher 2>/dev/null || true
  [[ $status -eq 0 ]] || { echo "--- program log"; cat "$1/program.log"; } >&2
  exit $status
' "$program" "$work" "$here" "$cli"
