#!/usr/bin/env bash
# Builds Discweaver and runs its main job on the bundled demo: the home-cinema
# configuration demo/demo.csf (compiled into build/demo/demo.ccf by the build), the
# players file demo/DW_Devices.xml and the library demo/DW_Library.xml. Everything the
# run writes (settings store, configuration area, output CCF) stays in demo/work, so
# the user's own settings are never touched.
#
# scripts/demo.sh --gui builds the desktop program as well and opens it on the same
# settings and configuration area instead, with the demo configuration as its input CCF
# and demo/work/demo-out.ccf as its output: press "Execute" there.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=$(nproc 2>/dev/null || echo 2)
build=${DW_DEMO_BUILD_DIR:-build} # another build directory, e.g. for a second checkout
gui=0
case "${1:-}" in
  --gui) gui=1 ;;
  "") ;;
  *) echo "usage: scripts/demo.sh [--gui]" >&2; exit 2 ;;
esac
scripts/setup.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDW_BUILD_UI=ON >/dev/null
cmake --build "$build" -j "$jobs"
"$build/bin/discweaver-cli" --version

build=$(cd "$build" && pwd)
cli=$build/bin/discweaver-cli
input=$build/demo/demo.ccf
work=$root/demo/work
area=$work/area
output=$work/demo-out.ccf

# A fresh working area each time: the demo's settings, its configuration area with
# copies of the demo players and library, and no output yet.
rm -rf "$work"
mkdir -p "$area/DW_Config"
cp demo/DW_Devices.xml demo/DW_Library.xml "$area/DW_Config/"
export DISCWEAVER_SETTINGS=$work/settings
export DISCWEAVER_MACHINE_SETTINGS=$work/machine-settings

if ((gui)); then
  [[ -x $build/bin/discweaver ]] || { echo "the desktop program was not built" >&2; exit 1; }
  # Settings values are quoted; a backslash and a double quote are escaped inside.
  quote() { local v=${1//\\/\\\\}; printf '"%s"' "${v//\"/\\\"}"; }
  {
    echo '[Software\Brisket\Trackloom]'
    echo "\"ConfigAndTempArea\"=$(quote "$area")"
    echo "\"InputCCF\"=$(quote "$input")"
    echo "\"OutputCCF\"=$(quote "$output")"
    echo '"WelcomeShown"=dword:00000001'
  } >"$DISCWEAVER_SETTINGS"
  echo
  echo "== discweaver (settings in $DISCWEAVER_SETTINGS)"
  exec "$build/bin/discweaver"
fi

echo
echo "== discweaver-cli execute"
"$cli" execute --input "$input" --output "$output" --config-area "$area" \
    --replace-devices yes --unlinked stop

# Decompile the result again with the codec and list what it holds.
check=$work/check
mkdir -p "$check"
"$build/demo/dw_demo_ccftool" "$build/bin/libCCFDll.so" decompile "$output" "$check/demo-out.csf" \
    >/dev/null
"$cli" inspect "$check/demo-out.csf" >"$check/inventory.txt"

echo
echo "== What $output holds"
awk '
    function flush() { if (name != "") printf "  %-28s %4d panels %6d buttons\n", name, panels, buttons }
    /^\tDevice\(/        { flush(); name = $0; sub(/^\tDevice\(/, "", name); sub(/\)$/, "", name)
                          panels = 0; buttons = 0; devices++ }
    /^\t\tPanel\(/       { panels++; allPanels++ }
    /^\t\t\t+Button\("/ { buttons++; allButtons++ }
    END                 { flush(); printf "  %d devices, %d panels, %d buttons in all\n", devices, allPanels, allButtons }
' "$check/demo-out.csf"
echo
echo "The home panel's list buttons now open the generated devices:"
grep -A12 'Button("Rock & Pop",' "$check/demo-out.csf" | grep -m1 'JumpDevicePanel' | sed 's/^[[:space:]]*/  /' || true
echo
echo "Output CCF:       $output ($(stat -c %s "$output") bytes)"
echo "Decompiled again: $check/demo-out.csf (full listing in $check/inventory.txt)"
