#!/usr/bin/env bash
# Installs the build into a fresh folder and uses the installed programs from elsewhere:
# every program and data file is there, the tool finds its library and orderings, the
# preflop tables are installed (no rebuild on a first start), the menu entry names the
# installed program and opens hand files, and the hand files' type is declared.
# Then the two installed programs against each other, the launcher started first: it
# starts the program and ends, and no launcher is left waiting once the program is ready.
#   check_install.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: check_install.sh BUILD_DIR}
prefix=$(mktemp -d)
program_pid=""
cleanup() {
  [[ -n "$program_pid" ]] && kill "$program_pid" 2>/dev/null || true
  pkill -f "^$prefix/bin/Heraldo" 2>/dev/null || true
  rm -rf "$prefix"
}
trap cleanup EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
for file in Ferrox6Plus Heraldo ferrox6plus-cli libquillet.so Ferrox6Plus-preflop.bin \
            SixPlusVsRandom.txt SixPlus6maxordering.txt Range6Plus.xml UserRanges.xml \
            Splash_config.xml splash.png Ferrox6Plus.ini ferrox6plus.png; do
  [[ -f "$prefix/bin/$file" ]] || fail "$file not installed"
done
cmp -s "$build/bin/Ferrox6Plus-preflop.bin" "$prefix/bin/Ferrox6Plus-preflop.bin" || fail "preflop tables differ"

desktop="$prefix/share/applications/Ferrox6Plus.desktop"
[[ -f "$desktop" ]] || fail "no menu entry"
grep -qx "Exec=$prefix/bin/Ferrox6Plus %f" "$desktop" ||
  fail "menu entry does not name the installed program with a file: $(grep '^Exec=' "$desktop")"
grep -qx "MimeType=application/x-ferrox6plus-hand;" "$desktop" || fail "menu entry does not open hand files"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "menu entry does not validate"
fi

# The hand files' type, where update-mime-database reads it.
mime="$prefix/share/mime/packages/ferrox6plus-hand.xml"
[[ -f "$mime" ]] || fail "no MIME package"
python3 - "$mime" <<'PY' || fail "the MIME package does not declare the hand files"
import sys
import xml.etree.ElementTree as ET
ns = {"m": "http://www.freedesktop.org/standards/shared-mime-info"}
root = ET.parse(sys.argv[1]).getroot()
kinds = {t.get("type"): [g.get("pattern") for g in t.findall("m:glob", ns)] for t in root.findall("m:mime-type", ns)}
if kinds != {"application/x-ferrox6plus-hand": ["*.f6hand"]}:
    sys.exit(f"declared: {kinds}")
PY
# The databases the desktop reads, built by the install when their tools are there.
if command -v update-mime-database >/dev/null; then
  grep -q ":application/x-ferrox6plus-hand:\*\.f6hand$" "$prefix/share/mime/globs2" ||
    fail "the installed MIME database does not know *.f6hand"
  if command -v xdg-mime >/dev/null && command -v gio >/dev/null; then
    printf '{}\n' > "$prefix/sample.f6hand"
    # xdg-mime asks the MIME database through a desktop's tool (gio under GNOME); with no
    # desktop named it asks file(1), which knows no installed type.
    type=$(XDG_DATA_DIRS="$prefix/share:/usr/share" XDG_DATA_HOME="$prefix/no-data" XDG_CURRENT_DESKTOP=GNOME \
           xdg-mime query filetype "$prefix/sample.f6hand")
    [[ "$type" == application/x-ferrox6plus-hand ]] || fail "xdg-mime takes a hand file for '$type'"
  fi
fi
if command -v update-desktop-database >/dev/null; then
  grep -qx "application/x-ferrox6plus-hand=Ferrox6Plus.desktop;" "$prefix/share/applications/mimeinfo.cache" ||
    fail "the installed menu database does not open hand files with the program"
fi
# A folder with a space in its name: the entry quotes the program, as the format wants.
spaced="$prefix/with space"
cmake --install "$build" --prefix "$spaced" >/dev/null
grep -qx "Exec=\"$spaced/bin/Ferrox6Plus\" %f" "$spaced/share/applications/Ferrox6Plus.desktop" ||
  fail "menu entry in a folder with a space: $(grep '^Exec=' "$spaced/share/applications/Ferrox6Plus.desktop")"

# From another folder: a percent range needs the installed orderings, read as the build's.
expected=$("$build/bin/ferrox6plus-cli" range "20%")
cd /
out=$(env -u LD_LIBRARY_PATH "$prefix/bin/ferrox6plus-cli" range "20%")
[[ "$out" == "$expected" && "$out" == *'"result":1'* ]] || fail "installed tool gave: $out"

# The two programs find each other by name: another Ferrox6Plus or Heraldo on this machine
# (a developer's own session) would stand in for ours.
if pgrep -x Ferrox6Plus >/dev/null || pgrep -x Heraldo >/dev/null; then
  echo "install OK; the launcher part skipped: another Ferrox6Plus or Heraldo runs here"
  exit 77
fi

# The launcher first. Settings, data and messages stay in the scratch folder.
export QT_QPA_PLATFORM=offscreen HERALDO_MESSAGES=stderr
export XDG_CONFIG_HOME="$prefix/config" XDG_DATA_HOME="$prefix/data" XDG_RUNTIME_DIR="$prefix/runtime"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
timeout 30 "$prefix/bin/Heraldo" --trace > "$prefix/first.log" 2>&1 || fail "first launcher: $(cat "$prefix/first.log")"
grep -q "start .*Ferrox6Plus gives" "$prefix/first.log" || fail "the launcher did not start the program: $(cat "$prefix/first.log")"
grep -q "splash 480x270" "$prefix/first.log" || fail "no splash: $(cat "$prefix/first.log")"
for _ in $(seq 100); do
  program_pid=$(pgrep -f "^$prefix/bin/Ferrox6Plus$" || true)
  [[ -n "$program_pid" ]] && grep -q "CPU completed <InitInstance>" "$prefix/bin/Ferrox6Plus.log" 2>/dev/null && break
  sleep 0.2
done
[[ -n "$program_pid" ]] || fail "the program is not running"
# The program starts a launcher of its own unless the first one was still running; either
# way none is left waiting once the program has signalled, long before the 60 s.
for _ in $(seq 50); do pgrep -f "^$prefix/bin/Heraldo" >/dev/null || break; sleep 0.2; done
pgrep -f "^$prefix/bin/Heraldo" >/dev/null && fail "the program's launcher is still waiting"

# Ended by SIGTERM (a session ending) as by its close button: the window's place is kept and
# the semaphore goes.
kill -TERM "$program_pid"
for _ in $(seq 50); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.2; done
kill -0 "$program_pid" 2>/dev/null && fail "the program did not end on SIGTERM"
program_pid=""
grep -q "Geometry" "$XDG_CONFIG_HOME/Halvard/Ferrox6Plus.conf" || fail "settings not written at the end"
[[ ! -e /dev/shm/sem.Ferrox6PlusEvent ]] || fail "the hand-over semaphore was left behind"
echo "install OK"
