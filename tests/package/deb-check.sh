#!/usr/bin/env bash
# Builds the Debian package of a build tree, unpacks it into a scratch directory and runs
# the demo's main job with the discweaver-cli inside it: the packaged program has to find
# the packaged codec library on its own, and the package has to depend on Debian's
# runtime packages only.
# Usage: deb-check.sh BUILD_DIR SOURCE_DIR DEMO_CCF
set -euo pipefail
build=$1 source=$2 demo_ccf=$3

scratch=$(mktemp -d "${TMPDIR:-/tmp}/discweaver-deb.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

(cd "$build" && cpack -G DEB -B "$scratch/pkg" >"$scratch/cpack.log" 2>&1) || {
  cat "$scratch/cpack.log"; exit 1; }
debs=("$scratch"/pkg/discweaver_*.deb)
[[ -f ${debs[0]} ]] || { echo "no package written"; cat "$scratch/cpack.log"; exit 1; }
deb=${debs[0]}

fail() { echo "FAIL: $*"; exit 1; }

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for p in libc6 libstdc++6 libxml2 libpng16-16; do
  [[ $depends == *"$p "* || $depends == *"$p," || $depends == *"$p" ]] || fail "no dependency on $p"
done
# Every dependency must be an installed Debian package, not something of the build tree.
IFS=',' read -ra items <<<"$depends"
for item in "${items[@]}"; do
  name=$(echo "$item" | sed 's/^ *//; s/ .*//')
  dpkg-query -W "$name" >/dev/null 2>&1 || dpkg-query -W "$name:*" >/dev/null 2>&1 ||
    fail "dependency $name is no Debian package on this machine"
done

root=$scratch/root
dpkg -x "$deb" "$root"
cli=$root/usr/bin/discweaver-cli
[[ -L $cli ]] || fail "usr/bin/discweaver-cli is not a link into the program directory"
[[ -f $root/usr/lib/discweaver/libCCFDll.so ]] || fail "no libCCFDll.so beside the programs"
if [[ -e $root/usr/lib/discweaver/discweaver ]]; then
  [[ -f $root/usr/share/applications/discweaver.desktop ]] || fail "no .desktop entry"
  [[ -f $root/usr/share/icons/hicolor/scalable/apps/discweaver.svg ]] || fail "no icon"
fi

# The demo's main job, with settings and configuration area of its own, and no
# machine-wide settings that could point the wrapper at another codec library.
area=$scratch/area
mkdir -p "$area/DW_Config"
cp "$source/demo/DW_Devices.xml" "$source/demo/DW_Library.xml" "$area/DW_Config/"
export DISCWEAVER_SETTINGS=$scratch/settings
export DISCWEAVER_MACHINE_SETTINGS=$scratch/machine-settings
# Nothing of the build tree may be found through the loader's search either.
unset LD_LIBRARY_PATH
out=$scratch/demo-out.ccf
"$cli" execute --input "$demo_ccf" --output "$out" --config-area "$area" \
    --replace-devices yes --unlinked stop || fail "the packaged discweaver-cli failed the demo's execute"
[[ -s $out ]] || fail "no output CCF"
"$cli" inspect "$out" >"$scratch/inventory.txt" 2>/dev/null || fail "the output cannot be read back"
# The demo library's lists become devices of their own.
for list in "Rock & Pop" Jazz Classical; do
  grep -q "^Device \"$list" "$scratch/inventory.txt" || fail "no generated device \"$list\" in the output"
done
echo "The packaged discweaver-cli ran the demo: $(stat -c %s "$out") bytes written"
