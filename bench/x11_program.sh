#!/usr/bin/env bash
# Vantrel on X11, measured under a private Xvfb: time from start to the strip being mapped,
# beside the same time for a bare Xlib window of the strip's size started in turn with it;
# resident memory after 5 s, and CPU time (and wake-ups) with the pointer still and with it
# moving; then the same figures with the mouse loupe shown (as the default settings have it),
# the pointer moving at 100 Hz; last, resident memory with the loupe, the lens and the cross
# ruler all on the screen.
#
#   bench/x11_program.sh [VANTREL [BARE_WINDOW]]
#     (defaults: build/vantrel and build/bench_x11_bare_window; use a Release build)
#
# Environment: BENCH_SECONDS (default 20) for each CPU window, BENCH_STARTS (default 21) for the
# number of starts timed (of each program, taken in turn); BENCH_STARTS_ONLY=1 stops after the
# start-up figures.
set -euo pipefail

exe=${1:-build/vantrel}
bare=${2:-$(dirname "$exe")/bench_x11_bare_window}
watch=$(dirname "$bare")/bench_x11_map_watch
seconds=${BENCH_SECONDS:-20}
starts=${BENCH_STARTS:-21}

die() { echo "x11_program.sh: $*" >&2; exit 1; }
[[ -x $exe ]] || die "no program at '$exe' (build the target vantrel, or pass its path)"
[[ -x $bare ]] || die "no bare window at '$bare' (build the target bench_x11_bare_window, or pass its path)"
[[ -x $watch ]] || die "no watcher at '$watch' (build the target bench_x11_map_watch)"
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || die "$tool is missing (packages xvfb, xdotool)"
done
# bash 5's clock: reading it costs no process, so it does not disturb what it measures.
[[ -n ${EPOCHREALTIME:-} ]] || die "needs bash 5 or newer"

work=$(mktemp -d /tmp/vantrel-bench.XXXXXX)
xvfb_pid='' prog_pid='' mover_pid=''
cleanup() {
  for pid in $mover_pid $prog_pid ${watch_pid:-} $xvfb_pid; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT

# A copy in a folder of its own, so its settings file lands there; the bare window beside it.
# Its font cache is a private one too: the first start fills it, as any earlier session would
# have, and the memory figures include what the fonts first met in this run cost.
cp "$exe" "$work/vantrel"
cp "$bare" "$work/bare-window"
cp "$watch" "$work/map-watch"
printf '[Application]\r\nLeft=100\r\nTop=120\r\nLength=500\r\n' >"$work/Vantrel.ini"
export XDG_CACHE_HOME=$work/cache

# Xvfb picks a free display itself and writes its number once it accepts connections.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 500); do
  [[ $(cat "$work/display") == *[0-9] ]] && break
  kill -0 "$xvfb_pid" 2>/dev/null || die "Xvfb did not start"
  sleep 0.01
done
DISPLAY=":$(tr -d '\n' <"$work/display")"
export DISPLAY
[[ $DISPLAY == :[0-9]* ]] || die "Xvfb gave no display number"

ms_since() {  # milliseconds from $1 (an EPOCHREALTIME) to now
  local now=$EPOCHREALTIME
  awk -v a="$1" -v b="$now" 'BEGIN { printf "%.1f", (b - a) * 1000 }'
}

# CPU time used so far by $1, in seconds: utime + stime from /proc/PID/stat.
cpu_seconds() {
  local stat rest
  stat=$(<"/proc/$1/stat")
  rest=${stat##*) }  # the command name may hold spaces; the fields after it do not
  read -r -a f <<<"$rest"
  # f[0] is field 3 (state): utime and stime are fields 14 and 15.
  awk -v u="${f[11]}" -v s="${f[12]}" -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.3f", (u + s) / hz }'
}
# Time on the CPU in seconds from the scheduler (nanoseconds), finer than the tick counts.
run_seconds() {
  if [[ -r /proc/$1/schedstat ]]; then
    awk '{ printf "%.4f", $1 / 1e9 }' "/proc/$1/schedstat"
  else
    cpu_seconds "$1"
  fi
}

# How often the program has gone to sleep (voluntary context switches): its wake-ups.
sleeps() { awk '/^voluntary_ctxt_switches:/ { print $2 }' "/proc/$1/status"; }
per_second() { awk -v a="$1" -v b="$2" -v e="$3" 'BEGIN { printf "%.1f", (b - a) * 1000 / e }'; }

# ---- start to mapped: the first MapNotify on the root after the start ----
# One small watcher times both programs the same way: from just before its fork to the
# MapNotify it reads from the server, so neither figure carries the cost of a tool printing
# events or of the shell reading them. It prints "PID MS" and stays until the program ends.
watch_pid=''
time_to_map() {  # $1: the program in $work; sets prog_pid and mapped
  local line='' pid ms
  xdotool mousemove 700 600
  rm -f "$work/map"
  (cd "$work" && exec ./map-watch "./$1") >"$work/map" 2>>"$work/errors" &
  watch_pid=$!
  for _ in $(seq 1200); do
    [[ -s $work/map ]] && break  # the watcher writes its line at once
    sleep 0.01
  done
  [[ -s $work/map ]] && line=$(<"$work/map")
  read -r pid ms <<<"$line"
  prog_pid=${pid:-}
  mapped=''
  [[ ${ms:-none} != none ]] && mapped=$ms
}
stop_program() {
  [[ -n $prog_pid ]] && kill "$prog_pid" 2>/dev/null || true
  if [[ -n $watch_pid ]]; then
    wait "$watch_pid" 2>/dev/null || true
  else
    while kill -0 "$prog_pid" 2>/dev/null; do sleep 0.01; done
  fi
  prog_pid='' watch_pid=''
}
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# Taken in turn, so that both see the same load on the machine.
times=() bare_times=()
for ((i = 0; i < starts; i++)); do
  time_to_map bare-window
  [[ -n $mapped ]] || die "the bare window was not mapped within 10 s: $(cat "$work/errors")"
  bare_times+=("$mapped")
  stop_program
  time_to_map vantrel
  [[ -n $mapped ]] || die "the strip was not mapped within 10 s: $(cat "$work/errors")"
  times+=("$mapped")
  ((i + 1 < starts)) && stop_program
done
median_start=$(median "${times[@]}")
best_start=$(printf '%s\n' "${times[@]}" | sort -n | head -1)
median_bare=$(median "${bare_times[@]}")
start_ratio=$(awk -v v="$median_start" -v b="$median_bare" 'BEGIN { printf "%.1f", v / b }')

# The last start keeps running: check it is the strip that showed.
win=$(xdotool search --onlyvisible --class Vantrel | head -1)
geometry=$(xdotool getwindowgeometry "$win" | awk '/Geometry/ { print $2 }')
[[ $geometry == 500x58 ]] || die "the window shown is $geometry, not the 500x58 strip"
if [[ ${BENCH_STARTS_ONLY:-} == 1 ]]; then
  echo "Vantrel on X11 under Xvfb $DISPLAY (1024x768x24): $exe"
  echo "bare window mapped (median of $starts): $median_bare ms; strip mapped: $median_start ms" \
    "(best $best_start ms); ratio $start_ratio x (target <= 3 x)"
  echo "starts (ms): ${times[*]}"
  echo "bare window starts (ms): ${bare_times[*]}"
  exit 0
fi

# ---- resident memory 5 s after the start ----
sleep 5
rss_kib=$(awk '/^VmRSS:/ { print $2 }' "/proc/$prog_pid/status")
rss_mib=$(awk -v k="$rss_kib" 'BEGIN { printf "%.1f", k / 1024 }')

# ---- CPU with the pointer still (off the strip) ----
xdotool mousemove 700 600
sleep 1
c0=$(cpu_seconds "$prog_pid") r0=$(run_seconds "$prog_pid") w0=$(sleeps "$prog_pid") t0=$EPOCHREALTIME
sleep "$seconds"
c1=$(cpu_seconds "$prog_pid") r1=$(run_seconds "$prog_pid") w1=$(sleeps "$prog_pid") el=$(ms_since "$t0")
still_wakeups=$(per_second "$w0" "$w1" "$el")
still_ticks=$(awk -v a="$c0" -v b="$c1" -v e="$el" 'BEGIN { printf "%.2f", (b - a) * 100000 / e }')
still_run=$(awk -v a="$r0" -v b="$r1" -v e="$el" 'BEGIN { printf "%.3f", (b - a) * 100000 / e }')

# ---- CPU with the pointer moving across the screen, a step every 20 ms ----
# One xdotool run with all the steps, so starting programs costs nothing in the window.
moves=()
steps=$((seconds * 50))
for ((s = 0; s < steps; s++)); do
  x=$(((s * 13) % 2046)); ((x > 1023)) && x=$((2046 - x))
  y=$(((s * 7) % 1534)); ((y > 767)) && y=$((1534 - y))
  moves+=(mousemove "$x" "$y" sleep 0.02)
done
c0=$(cpu_seconds "$prog_pid") r0=$(run_seconds "$prog_pid") t0=$EPOCHREALTIME
xdotool "${moves[@]}" &
mover_pid=$!
wait "$mover_pid"
mover_pid=''
c1=$(cpu_seconds "$prog_pid") r1=$(run_seconds "$prog_pid") el=$(ms_since "$t0")
moving_ticks=$(awk -v a="$c0" -v b="$c1" -v e="$el" 'BEGIN { printf "%.2f", (b - a) * 100000 / e }')
moving_run=$(awk -v a="$r0" -v b="$r1" -v e="$el" 'BEGIN { printf "%.3f", (b - a) * 100000 / e }')
moving_secs=$(awk -v e="$el" 'BEGIN { printf "%.1f", e / 1000 }')

# ---- the same with the mouse loupe shown: it shows at the end of a move drag ----
xdotool mousemove 400 128 mousedown 1 mouseup 1
xdotool mousemove 700 600
sleep 1
[[ -n $(xdotool search --onlyvisible --name '^X:700 Y:600' 2>/dev/null | head -1) ]] ||
  die "the mouse loupe did not show after the drag"
c0=$(cpu_seconds "$prog_pid") r0=$(run_seconds "$prog_pid") w0=$(sleeps "$prog_pid") t0=$EPOCHREALTIME
sleep "$seconds"
c1=$(cpu_seconds "$prog_pid") r1=$(run_seconds "$prog_pid") w1=$(sleeps "$prog_pid") el=$(ms_since "$t0")
loupe_still_wakeups=$(per_second "$w0" "$w1" "$el")
loupe_still_ticks=$(awk -v a="$c0" -v b="$c1" -v e="$el" 'BEGIN { printf "%.2f", (b - a) * 100000 / e }')
loupe_still_run=$(awk -v a="$r0" -v b="$r1" -v e="$el" 'BEGIN { printf "%.3f", (b - a) * 100000 / e }')
moves=()
steps=$((seconds * 100))
for ((s = 0; s < steps; s++)); do
  x=$(((s * 13) % 2046)); ((x > 1023)) && x=$((2046 - x))
  y=$(((s * 7) % 1534)); ((y > 767)) && y=$((1534 - y))
  moves+=(mousemove "$x" "$y" sleep 0.01)
done
c0=$(cpu_seconds "$prog_pid") r0=$(run_seconds "$prog_pid") t0=$EPOCHREALTIME
xdotool "${moves[@]}" &
mover_pid=$!
wait "$mover_pid"
mover_pid=''
c1=$(cpu_seconds "$prog_pid") r1=$(run_seconds "$prog_pid") el=$(ms_since "$t0")
loupe_moving_ticks=$(awk -v a="$c0" -v b="$c1" -v e="$el" 'BEGIN { printf "%.2f", (b - a) * 100000 / e }')
loupe_moving_run=$(awk -v a="$r0" -v b="$r1" -v e="$el" 'BEGIN { printf "%.3f", (b - a) * 100000 / e }')
loupe_moving_secs=$(awk -v e="$el" 'BEGIN { printf "%.1f", e / 1000 }')

# ---- resident memory once the loupe, the lens and the cross ruler have been shown ----
# The lens follows the pointer over the ruler only while the mouse loupe is off, so the loupe
# (shown above) goes first; the lens and the cross ruler stay on the screen for the figure.
# The strip's menu opens from its menu button; commands are chosen with Down and Return.
menu_command() {  # $1: the command's place in the menu, separators not counted
  local keys=(key --delay 20)
  for ((k = 0; k < $1; k++)); do keys+=(Down); done
  xdotool mousemove 145 128 click 1
  sleep 0.5
  xdotool "${keys[@]}" Return
  sleep 0.5
}
shown_count() { xdotool search --onlyvisible --class Vantrel 2>/dev/null | wc -l; }
menu_command 8                # "Cross Ruler"
menu_command 10               # "Mouse loupe" off
xdotool mousemove 400 160
sleep 0.3
xdotool mousemove 420 165     # over the ruler: the lens shows beside the pointer
sleep 5
# The strip, the cross ruler and the lens.
all_shown=$(shown_count)
((all_shown == 3)) || die "expected the strip, the cross ruler and the lens on the screen, saw $all_shown windows"
all_rss_mib=$(awk '/^VmRSS:/ { printf "%.1f", $2 / 1024 }' "/proc/$prog_pid/status")

kill -0 "$prog_pid" 2>/dev/null || die "the program ended during the measurement: $(cat "$work/errors")"

verdict() { awk -v v="$1" -v t="$2" 'BEGIN { print (v < t) ? "ok" : "OVER" }'; }
echo "Vantrel on X11 under Xvfb $DISPLAY (1024x768x24): $exe"
printf '%-44s %18s %10s %s\n' "measure" "value" "target" ""
printf '%-44s %15s ms %10s\n' "bare 640x58 window mapped (median of $starts)" "$median_bare" ""
printf '%-44s %15s ms %10s\n' "start to strip mapped (median of $starts)" "$median_start" ""
printf '%-44s %16s x %10s %s\n' "strip mapped / bare window mapped" "$start_ratio" "<= 3 x" \
  "$(verdict "$start_ratio" 3.05)"
printf '%-44s %15s ms %10s\n' "start to strip mapped (best)" "$best_start" ""
printf '%-44s %15s MiB %9s %s\n' "resident memory after 5 s, strip alone" "$rss_mib" "<= 10 MiB" \
  "$(verdict "$rss_mib" 10.05)"
printf '%-44s %15s MiB %9s %s\n' "resident, loupe, lens, cross ruler shown" "$all_rss_mib" "<= 12 MiB" \
  "$(verdict "$all_rss_mib" 12.05)"
printf '%-44s %16s %% %10s %s\n' "CPU, pointer still, ${seconds} s (stat ticks)" "$still_ticks" "< 0.2 %" \
  "$(verdict "$still_ticks" 0.2)"
printf '%-44s %16s %% %10s\n' "CPU, pointer still (scheduler time)" "$still_run" ""
printf '%-44s %14s /s %10s\n' "wake-ups, pointer still" "$still_wakeups" ""
printf '%-44s %16s %% %10s\n' "CPU, pointer moving, ${moving_secs} s (stat ticks)" "$moving_ticks" ""
printf '%-44s %16s %% %10s\n' "CPU, pointer moving (scheduler time)" "$moving_run" ""
printf '%-44s %16s %% %10s %s\n' "loupe shown, pointer still (stat ticks)" "$loupe_still_ticks" "< 0.2 %" \
  "$(verdict "$loupe_still_ticks" 0.2)"
printf '%-44s %16s %% %10s\n' "loupe shown, pointer still (scheduler time)" "$loupe_still_run" ""
printf '%-44s %14s /s %10s\n' "wake-ups, loupe shown, pointer still" "$loupe_still_wakeups" ""
printf '%-44s %16s %% %10s\n' "loupe shown, moving 100 Hz, ${loupe_moving_secs} s (ticks)" "$loupe_moving_ticks" ""
printf '%-44s %16s %% %10s\n' "loupe shown, moving 100 Hz (scheduler time)" "$loupe_moving_run" ""
echo "starts (ms): ${times[*]}"
echo "bare window starts (ms): ${bare_times[*]}"
