#!/usr/bin/env bash
# Measures the time from starting `discweaver` on the demo configuration (its settings,
# configuration area and input CCF, as `scripts/demo.sh --gui` sets them up) to its main
# window being shown on an X display: started, then polled with xwininfo until a
# viewable window whose caption holds "BETA VERSION" (the main window's) exists. Without
# a DISPLAY it starts its own Xvfb. Prints each run and the median in milliseconds.
#
# The program warns in a message box at every start when the remote's "Pronto" font is
# missing, which would wait for a person; the runs therefore see a private font
# configuration in which one system font goes by that name (nothing of the system's own
# configuration or caches changes). One uncounted run first fills that private cache.
#
# Usage: bench/gui-startup.sh [BUILD_DIR] [RUNS]     (defaults: build, 7)
# Needs: xwininfo (x11-utils), and Xvfb (xvfb) when there is no display.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$(cd "${1:-build}" && pwd)
runs=${2:-7}
program=$build/bin/discweaver
[[ -x $program ]] || { echo "no $program: build it first" >&2; exit 1; }
[[ -f $build/demo/demo.ccf ]] || { echo "no $build/demo/demo.ccf: build the demo_ccf target" >&2; exit 1; }
command -v xwininfo >/dev/null || { echo "xwininfo is missing (apt-get install x11-utils)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/discweaver-startup.XXXXXX")
xvfb_pid=
cleanup() {
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

if [[ -z ${DISPLAY:-} ]]; then
  command -v Xvfb >/dev/null || { echo "no DISPLAY and no Xvfb (apt-get install xvfb)" >&2; exit 1; }
  for n in $(seq 90 120); do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    break
  done
  for _ in $(seq 100); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.05; done
fi

# A private font configuration: every system font, "DejaVu Sans Mono" renamed "Pronto".
mkdir -p "$work/fontcache"
cat >"$work/fonts.conf" <<FONTS
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <dir>/usr/share/fonts</dir>
  <cachedir>$work/fontcache</cachedir>
  <match target="scan">
    <test name="family"><string>DejaVu Sans Mono</string></test>
    <edit name="family" mode="assign" binding="same"><string>Pronto</string></edit>
  </match>
</fontconfig>
FONTS
export FONTCONFIG_FILE=$work/fonts.conf

# The demo's own settings and configuration area, as scripts/demo.sh --gui makes them.
area=$work/area
mkdir -p "$area/DW_Config"
cp demo/DW_Devices.xml demo/DW_Library.xml "$area/DW_Config/"
export DISCWEAVER_SETTINGS=$work/settings
export DISCWEAVER_MACHINE_SETTINGS=$work/machine-settings
quote() { local v=${1//\\/\\\\}; printf '"%s"' "${v//\"/\\\"}"; }
write_settings() {
  {
    echo '[Software\Brisket\Trackloom]'
    echo "\"ConfigAndTempArea\"=$(quote "$area")"
    echo "\"InputCCF\"=$(quote "$build/demo/demo.ccf")"
    echo "\"OutputCCF\"=$(quote "$work/demo-out.ccf")"
    echo '"WelcomeShown"=dword:00000001'
  } >"$DISCWEAVER_SETTINGS"
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }

main_window_shown() {
  local id
  for id in $(xwininfo -root -tree 2>/dev/null | awk '/BETA VERSION/ { print $1 }'); do
    xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' && return 0
  done
  return 1
}

times=()
for run in $(seq 0 "$runs"); do
  write_settings
  start=$(now_ms)
  "$program" >"$work/run$run.log" 2>&1 &
  pid=$!
  shown=
  while kill -0 "$pid" 2>/dev/null; do
    if main_window_shown; then shown=$(now_ms); break; fi
    # A past deadline of 60 s means something else is showing (a question, a failure).
    (($(now_ms) - start > 60000)) && break
  done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  if [[ -z $shown ]]; then
    echo "run $run: the main window was not shown; the program said:" >&2
    cat "$work/run$run.log" >&2
    exit 1
  fi
  if ((run == 0)); then
    echo "warm-up run (font cache): $((shown - start)) ms"
    continue
  fi
  times+=($((shown - start)))
  echo "run $run: $((shown - start)) ms"
done
if [[ -s $work/run1.log ]]; then
  echo "the program printed on its first counted run:"
  sed 's/^/  /' "$work/run1.log"
fi
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "median of $runs runs: ${sorted[$((runs / 2))]} ms from start to the main window shown"
