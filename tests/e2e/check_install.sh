#!/usr/bin/env bash
# Installs the build into a fresh folder and uses the installed programs from elsewhere:
# every program and data file is there, the tool finds its library and orderings, the
# preflop tables are installed (no rebuild on a first start), and the menu entry names the
# installed program.
#   check_install.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: check_install.sh BUILD_DIR}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
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
grep -qx "Exec=$prefix/bin/Ferrox6Plus" "$desktop" || fail "menu entry does not name the installed program"

# From another folder: a percent range needs the installed orderings, read as the build's.
expected=$("$build/bin/ferrox6plus-cli" range "20%")
cd /
out=$(env -u LD_LIBRARY_PATH "$prefix/bin/ferrox6plus-cli" range "20%")
[[ "$out" == "$expected" && "$out" == *'"result":1'* ]] || fail "installed tool gave: $out"
echo "install OK"
