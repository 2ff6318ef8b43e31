#!/usr/bin/env bash
# Vantrel on Wayland, measured under a private headless sway (run as the system user
# vantrel-wl when started as root, as the tests do): time from start to the strip's first frame
# on the screen (read back with grim), resident memory after 5 s, CPU time and wake-ups with
# the pointer still, then moving a step every 20 ms across the screen (the path
# bench/x11_program.sh takes; Wayland tells the program of it only over its own windows) and
# along the strip's ruler. Beside bench/x11_program.sh, which gives the same figures on Xvfb.
#
#   bench/wayland_program.sh [VANTREL [POINTER]]
#     (defaults: build/vantrel and build/bench_wayland_pointer; use a Release build)
#
# Environment: BENCH_SECONDS (default 20) for each CPU window, BENCH_STARTS (default 5) for the
# number of cold starts timed.
set -euo pipefail

exe=${1:-build/vantrel}
pointer=${2:-$(dirname "$exe")/bench_wayland_pointer}
seconds=${BENCH_SECONDS:-20}
starts=${BENCH_STARTS:-5}
user=vantrel-wl

die() { echo "wayland_program.sh: $*" >&2; exit 1; }
[[ -x $exe ]] || die "no program at '$exe' (build the target vantrel, or pass its path)"
[[ -x $pointer ]] || die "no pointer at '$pointer' (build the target bench_wayland_pointer, or pass its path)"
for tool in sway grim; do command -v "$tool" >/dev/null || die "$tool is missing (packages sway, grim)"; done
[[ -n ${EPOCHREALTIME:-} ]] || die "needs bash 5 or newer"

work=$(mktemp -d /tmp/vantrel-bench.XXXXXX)
chmod 755 "$work"
mkdir -m 700 "$work/run"
sway_pid='' prog_pid=''
cleanup() {
  for pid in $prog_pid $sway_pid; do kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

printf 'output HEADLESS-1 resolution 1024x768 position 0 0\noutput * background #203040 solid_color\n' >"$work/config"
chmod 644 "$work/config"
as_user=()
if [[ $(id -u) -eq 0 ]]; then
  id "$user" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$user"
  chown "$user" "$work/run"
  as_user=(setpriv --reuid="$user" --regid="$(id -g "$user")" --clear-groups)
fi
env -i PATH=/usr/bin:/bin HOME="$work" XDG_RUNTIME_DIR="$work/run" WLR_BACKENDS=headless WLR_RENDERER=pixman \
  WLR_LIBINPUT_NO_DEVICES=1 "${as_user[@]}" sway -c "$work/config" >"$work/sway.log" 2>&1 &
sway_pid=$!
for _ in $(seq 500); do
  socket=$(find "$work/run" -maxdepth 1 -name 'wayland-*' ! -name '*.lock' | head -1)
  [[ -n $socket ]] && break
  sleep 0.01
done
[[ -n $socket ]] || die "sway did not start (see $work/sway.log)"
export WAYLAND_DISPLAY=$socket
unset DISPLAY

cp "$exe" "$work/vantrel"
printf '[Application]\r\nLeft=100\r\nTop=120\r\nLength=500\r\n' >"$work/Vantrel.ini"

ms_since() { awk -v a="$1" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.1f", (b - a) * 1000 }'; }
run_seconds() { awk '{ printf "%.4f", $1 / 1e9 }' "/proc/$1/schedstat"; }
wakeups() { awk '/^voluntary_ctxt_switches/ { print $2 }' "/proc/$1/status"; }
# The strip's top-left pixel no longer shows the background: its first frame is on the screen.
shown() { [[ $(grim -g "100,120 1x1" -t ppm - | tail -c 3 | od -An -tx1 | tr -d ' \n') != 203040 ]]; }

total=0
for i in $(seq "$starts"); do
  t0=$EPOCHREALTIME
  (cd "$work" && exec ./vantrel) 2>>"$work/errors" &
  prog_pid=$!
  until shown; do kill -0 "$prog_pid" 2>/dev/null || die "the program ended: $(cat "$work/errors")"; done
  ms=$(ms_since "$t0")
  echo "start to first frame #$i: $ms ms"
  total=$(awk -v a="$total" -v b="$ms" 'BEGIN { print a + b }')
  [[ $i -eq $starts ]] && break
  kill "$prog_pid"; wait "$prog_pid" 2>/dev/null || true
  until ! shown; do sleep 0.01; done
done
echo "start to first frame, mean of $starts: $(awk -v t="$total" -v n="$starts" 'BEGIN { printf "%.1f", t / n }') ms"
sleep 5
echo "resident memory after 5 s: $(awk '/^VmRSS/ { print $2, $3 }' "/proc/$prog_pid/status")"
# CPU and wake-ups of the program while $@ runs (or sleeps): "NAME: x % CPU, y wake-ups/s".
measure() {
  local name=$1 c0 c1 w0 w1 t0
  shift
  c0=$(run_seconds "$prog_pid") w0=$(wakeups "$prog_pid") t0=$EPOCHREALTIME
  "$@"
  c1=$(run_seconds "$prog_pid") w1=$(wakeups "$prog_pid")
  awk -v a="$c0" -v b="$c1" -v e="$(ms_since "$t0")" -v w=$((w1 - w0)) -v n="$name" \
    'BEGIN { printf "%s: %.2f %% CPU, %.1f wake-ups/s over %.1f s\n", n, (b - a) * 100000 / e, w * 1000 / e, e / 1000 }'
}
measure "pointer still" sleep "$seconds"
measure "pointer moving across the screen, 50 Hz" "$pointer" screen "$seconds"
measure "pointer moving along the strip, 50 Hz" "$pointer" strip "$seconds"
kill -0 "$prog_pid" 2>/dev/null || die "the program ended during the measurement: $(cat "$work/errors")"
