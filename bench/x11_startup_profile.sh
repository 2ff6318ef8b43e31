#!/usr/bin/env bash
# Vantrel's start-up as instructions counted by callgrind under a private Xvfb: up to the strip's
# map request (XMapRaised), and from there up to its first frame (the first image put on the
# screen), with the functions that cost most in each part. Instruction counts stay
# steady on a loaded machine, where wall-clock times do not.
#
#   bench/x11_startup_profile.sh [VANTREL]   (default: build/vantrel; needs valgrind)
#
# Environment: PROFILE_OUT, a folder to keep the callgrind files in (default: a temporary one);
# PROFILE_COLD_FONTS=1 profiles a first start, before fontconfig's answers are remembered
# (~/.cache/vantrel/font-matches); by default one start without valgrind remembers them first,
# as any earlier run has. Either way the cache is a private one.
set -euo pipefail

exe=${1:-build/vantrel}
die() { echo "x11_startup_profile.sh: $*" >&2; exit 1; }
[[ -x $exe ]] || die "no program at '$exe'"
for tool in Xvfb valgrind callgrind_annotate; do
  command -v "$tool" >/dev/null || die "$tool is missing (packages xvfb, valgrind)"
done

work=$(mktemp -d /tmp/vantrel-profile.XXXXXX)
out=${PROFILE_OUT:-$work/out}
mkdir -p "$out"
xvfb_pid='' prog_pid=''
cleanup() {
  for pid in $prog_pid $xvfb_pid; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT

cp "$exe" "$work/vantrel"
printf '[Application]\r\nLeft=100\r\nTop=120\r\nLength=500\r\n' >"$work/Vantrel.ini"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 500); do
  [[ $(cat "$work/display") == *[0-9] ]] && break
  sleep 0.01
done
DISPLAY=":$(tr -d '\n' <"$work/display")"
export DISPLAY
export XDG_CACHE_HOME=$work/cache
if [[ ${PROFILE_COLD_FONTS:-} != 1 ]]; then
  (cd "$work" && exec ./vantrel) 2>/dev/null &
  prog_pid=$!
  for _ in $(seq 500); do
    [[ -s $XDG_CACHE_HOME/vantrel/font-matches ]] && break
    sleep 0.01
  done
  [[ -s $XDG_CACHE_HOME/vantrel/font-matches ]] || die "the first start remembered no font"
  kill "$prog_pid"
  wait "$prog_pid" 2>/dev/null || true
  prog_pid=''
fi

# A dump before the map request, and one before each image put: the second dump ends at the
# first frame.
(cd "$work" && exec valgrind --tool=callgrind --dump-before=XMapRaised \
  --dump-before='plat::X11Window::PutRect*' --callgrind-out-file="$out/callgrind.out" ./vantrel) \
  2>"$work/valgrind.log" &
prog_pid=$!
for _ in $(seq 3000); do
  [[ -s $out/callgrind.out.2 ]] && break
  kill -0 "$prog_pid" 2>/dev/null || die "the program ended: $(tail -5 "$work/valgrind.log")"
  sleep 0.02
done
[[ -s $out/callgrind.out.2 ]] || die "no first frame within 60 s"
sleep 0.5

total() { awk '/^(summary|totals):/ { print $2; exit }' "$1"; }
trigger() { sed -n 's/^desc: Trigger: --dump-before=//p' "$1" | head -1; }
[[ $(trigger "$out/callgrind.out.1") == XMapRaised ]] || die "the first dump is not the map request"
to_map=$(total "$out/callgrind.out.1")
map_to_frame=$(total "$out/callgrind.out.2")
echo "Vantrel's start-up under Xvfb $DISPLAY: $exe ($([[ ${PROFILE_COLD_FONTS:-} == 1 ]] && echo "first start, fonts not yet remembered" || echo "fonts remembered from an earlier start"))"
printf '%-40s %14s\n' "instructions to the map request" "$to_map"
printf '%-40s %14s\n' "instructions from there to the frame" "$map_to_frame"
printf '%-40s %14s\n' "instructions to the first frame" "$((to_map + map_to_frame))"
top() {
  callgrind_annotate --inclusive=yes "$1" 2>/dev/null |
    grep -E '^ *[0-9,]+ ' | grep -vE 'PROGRAM TOTALS|below main|libc_start|0x[0-9a-f]+ \[' | head -15
}
echo
echo "Most costly up to the map request (inclusive):"
top "$out/callgrind.out.1"
echo
echo "Most costly from the map request to the first frame (inclusive):"
top "$out/callgrind.out.2"
