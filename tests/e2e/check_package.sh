#!/usr/bin/env bash
# Builds the Debian package from the build and checks it: its files and fields, lintian,
# and, as root on a machine without the package, installs it, uses the installed programs
# as a new user would (from /, with a fresh home) and removes it again, leaving nothing.
#   check_package.sh BUILD_DIR VERSION
# Exits 77 (skipped) after the checks of the package when it may not install it.
set -euo pipefail
build=$(cd "${1:?usage: check_package.sh BUILD_DIR VERSION}" && pwd)
version=${2:?usage: check_package.sh BUILD_DIR VERSION}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
installed=0
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  [[ $installed -eq 0 ]] || apt-get purge -y -q ferrox6plus >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || fail "cpack: $(cat "$work/cpack.log")"
deb="$work/out/ferrox6plus_${version}_$(dpkg --print-architecture).deb"
[[ -f $deb ]] || fail "no $(basename "$deb"): $(ls "$work/out")"

# Fields: the project's version, and a dependency for every library the binaries load.
field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == ferrox6plus && $(field Version) == "$version" ]] || fail "package $(field Package) $(field Version)"
depends=$(field Depends)
dpkg-deb -x "$deb" "$work/root"
private=$(cd "$work/root" && echo usr/lib/*/ferrox6plus usr/lib/ferrox6plus | tr ' ' '\n' | grep -v '\*' | head -n1)
[[ -f "$work/root/$private/libquillet.so" ]] || fail "libquillet is not in a private folder of the package"
for binary in usr/bin/Ferrox6Plus usr/bin/Heraldo usr/bin/ferrox6plus-cli "$private/libquillet.so"; do
  runpath=$(objdump -p "$work/root/$binary" | awk '$1 == "RUNPATH" || $1 == "RPATH" {print $2}')
  [[ $binary == */libquillet.so || $runpath == "\$ORIGIN/../${private#usr/}" ]] || fail "$binary searches '$runpath'"
  for soname in $(objdump -p "$work/root/$binary" | awk '$1 == "NEEDED" {print $2}'); do
    [[ $soname == libquillet.so ]] && continue
    owners=$(dpkg -S "*/$soname" 2>/dev/null | cut -d: -f1 | sort -u) || fail "no package has $soname, which $binary needs"
    named=0
    for owner in $owners; do
      # Named by itself or by a name it provides (the shlibs file may give that one).
      for name in $owner $(dpkg-query -W -f='${Provides}' "$owner" | sed 's/([^)]*)//g; s/,/ /g'); do
        [[ ", $depends," == *", $name "* || ", $depends," == *", $name,"* ]] && named=1
      done
    done
    [[ $named -eq 1 ]] || fail "$binary needs $soname of $owners, which Depends does not name: $depends"
  done
done

# Files: everything under /usr, the data read-only and as built, the desktop's files.
listing=$(dpkg-deb -c "$deb")
awk '{print $6}' <<<"$listing" | grep -v '^\./$' | grep -v '^\./usr/' && fail "files outside /usr"
awk '$6 ~ /\/$/ || $1 ~ /^l/ {next} {print $1, $2, $6}' <<<"$listing" | grep -v 'root/root' && fail "files not root's"
for file in SixPlusVsRandom.txt SixPlus6maxordering.txt Range6Plus.xml UserRanges.xml Splash_config.xml splash.png \
            Ferrox6Plus.ini Ferrox6Plus-preflop.bin; do
  grep -q -- "^-rw-r--r-- .* ./usr/share/ferrox6plus/$file$" <<<"$listing" || fail "$file not read-only in /usr/share/ferrox6plus"
  cmp -s "$build/bin/$file" "$work/root/usr/share/ferrox6plus/$file" || fail "$file differs from the build's"
done
for file in usr/bin/ferrox6plus usr/share/applications/Ferrox6Plus.desktop usr/share/mime/packages/ferrox6plus-hand.xml \
            usr/share/icons/hicolor/48x48/apps/ferrox6plus.png usr/share/icons/hicolor/128x128/apps/ferrox6plus.png \
            usr/share/icons/hicolor/256x256/apps/ferrox6plus.png usr/share/icons/hicolor/scalable/apps/ferrox6plus.svg \
            usr/share/metainfo/ferrox6plus.metainfo.xml usr/share/man/man1/ferrox6plus-cli.1.gz \
            usr/share/man/man1/ferrox6plus.1.gz usr/share/bash-completion/completions/ferrox6plus-cli \
            usr/share/doc/ferrox6plus/copyright usr/share/doc/ferrox6plus/changelog.gz; do
  [[ -e "$work/root/$file" ]] || fail "$file not in the package"
done
for size in 48 128 256; do
  file "$work/root/usr/share/icons/hicolor/${size}x${size}/apps/ferrox6plus.png" | grep -q ", $size x $size," ||
    fail "the ${size}x${size} icon is $(file -b "$work/root/usr/share/icons/hicolor/${size}x${size}/apps/ferrox6plus.png")"
done
desktop-file-validate "$work/root/usr/share/applications/Ferrox6Plus.desktop" || fail "menu entry does not validate"

# No errors; each warning is listed, with its reason, in the README's packaging section.
lintian --fail-on none "$deb" >"$work/lintian.log" 2>&1 || true
grep '^E:' "$work/lintian.log" && fail "lintian errors"
readme="$here/../../README.md"
while read -r tag; do
  grep -q -- "- \`$tag\`" "$readme" || fail "lintian warns $tag, which the README does not list: $(cat "$work/lintian.log")"
done < <(awk '/^W:/ {print $3}' "$work/lintian.log")

if [[ $(id -u) -ne 0 ]]; then
  echo "package built and checked; installing it needs root: that part skipped"
  exit 77
fi
if dpkg-query -W -f='${Status}' ferrox6plus 2>/dev/null | grep -q "ok installed"; then
  echo "package built and checked; ferrox6plus is installed on this machine and stays: install part skipped"
  exit 77
fi

installed=1
apt-get install -y -q "$deb" >"$work/apt.log" 2>&1 || fail "apt-get install: $(cat "$work/apt.log")"
[[ $(command -v ferrox6plus) == /usr/bin/ferrox6plus ]] || fail "ferrox6plus is not on the PATH"

# A new user: a fresh home, no override of the caches or folders, started from /.
export HOME="$work/home"
mkdir -p "$HOME"
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME FERROX_CACHE_DIR FERROX_HOME
cd /
for request in "range 20%" "equity --hero AhKd --op 7s7c" "heatmap --op 20% --json"; do
  # shellcheck disable=SC2086  # a request is its words
  expected=$(FERROX_CACHE_DIR="$build/bin" "$build/bin/ferrox6plus-cli" $request | sed 's/"ms":[0-9.e+-]*//; s/time = .* sec/time/')
  # shellcheck disable=SC2086
  out=$(ferrox6plus-cli $request | sed 's/"ms":[0-9.e+-]*//; s/time = .* sec/time/') || fail "installed tool on $request"
  [[ "$out" == "$expected" ]] || fail "installed tool on '$request' gave: $out"
done
[[ ! -e "$HOME/.cache/Ferrox6Plus" ]] || fail "the installed tool did not use the shipped preflop tables"

# The program in the menu entry, under Xvfb, with its splash: its window, and its files in
# the user's folders.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [[ -s "$work/display" ]] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"
mkdir -p "$work/runtime" && chmod 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"
program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' /usr/share/applications/Ferrox6Plus.desktop)
[[ $program == ferrox6plus ]] || fail "the menu entry starts '$program'"
HERALDO_TRACE=1 HERALDO_MESSAGES=stderr "$program" >"$work/program.log" 2>&1 &
pid=$!
pids+=("$pid")
# The main window's title names the program and its version.
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Ferrox6Plus +v' | head -n1) ||
  fail "no window: $(cat "$work/program.log")"
title=$(xdotool getwindowname "$window")
[[ $title =~ ^Ferrox6Plus\ +v${version//./\.}$ ]] || fail "window title '$title'"
echo "installed program's window: $title"
data="$HOME/.local/share/Halvard/Ferrox6Plus"
for file in UserRanges.xml Range6Plus.xml; do
  cmp -s "/usr/share/ferrox6plus/$file" "$data/$file" || fail "$file not copied into $data"
done
grep -q "splash 480x270" "$work/program.log" || fail "no splash: $(cat "$work/program.log")"
kill -TERM "$pid"
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
grep -q "CPU completed <InitInstance>" "$data/Ferrox6Plus.log" || fail "no log in $data"
[[ -f "$HOME/.config/Halvard/Ferrox6Plus.conf" ]] || fail "no settings in $HOME/.config/Halvard"

# The manual page, and the completion of the tool's commands and each command's options as
# its own --help lists them.
man ferrox6plus-cli 2>/dev/null | grep -q "EXIT STATUS" || fail "man ferrox6plus-cli"
complete_words() {
  bash -c 'source /usr/share/bash-completion/bash_completion
    __load_completion ferrox6plus-cli && complete -p ferrox6plus-cli >/dev/null || exit 1
    COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
    _ferrox6plus_cli ferrox6plus-cli "${COMP_WORDS[-1]}" "${COMP_WORDS[-2]}"
    printf "%s\n" "${COMPREPLY[@]}" | sort' _ "$@"
}
helped() { ferrox6plus-cli "$@" --help | grep -oE -- '^  +(-h,)?--[a-z-]+' | sed 's/^ *-h,//; s/^ *//' | sort; }
commands=$(ferrox6plus-cli --help | awk '/^Subcommands:/ {on = 1; next} on && NF {print $1}' | sort)
[[ $(complete_words ferrox6plus-cli "" | grep -v -- --help) == "$commands" ]] || fail "completion of the commands"
for command in $commands; do
  [[ $(complete_words ferrox6plus-cli "$command" --) == "$(helped "$command")" ]] ||
    fail "completion of $command's options: $(complete_words ferrox6plus-cli "$command" -- | tr '\n' ' ')"
done

grep -q ":application/x-ferrox6plus-hand:\*\.f6hand$" /usr/share/mime/globs2 || fail "the MIME database does not know hand files"

cd "$work"
installed=0
apt-get purge -y -q ferrox6plus >"$work/apt.log" 2>&1 || fail "apt-get purge: $(cat "$work/apt.log")"
left=$(find /usr \( -iname '*ferrox6plus*' -o -name Heraldo -o -name Heraldo.1.gz \) 2>/dev/null || true)
[[ -z $left ]] || fail "left in /usr after removal: $left"
grep -q "ferrox6plus-hand" /usr/share/mime/globs2 && fail "the MIME database still knows hand files"
echo "package OK"
