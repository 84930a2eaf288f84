# Helpers of the sound benchmarks, on the test desktop (tests/e2e/escritorio.sh
# exports PULSE_PID and PAREC_PID).
source "$(dirname "${BASH_SOURCE[0]}")/../tests/e2e/comun.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../tests/e2e/pulseaudio.sh"

# CPU time of every thread of a process so far, in nanoseconds (scheduler
# accounting: finer than the clock ticks of /proc/PID/stat). Printed with %.0f:
# mawk's %d stops at 2^31 ns.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{s += $1} END {printf "%.0f\n", s}'; }

# medir_cpu PID SECONDS: prints "<process s> <sound server s> <elapsed s>",
# the CPU time of the process and of the sound server over SECONDS.
medir_cpu() {
  local p0 s0 t0 p1 s1 t1
  p0=$(cpu_ns "$1"); s0=$(cpu_ns "$PULSE_PID"); t0=$(date +%s%N)
  sleep "$2"
  p1=$(cpu_ns "$1"); s1=$(cpu_ns "$PULSE_PID"); t1=$(date +%s%N)
  kill -0 "$1" 2>/dev/null || fallar "el proceso $1 terminó durante la medida"
  awk -v a="$p0" -v b="$p1" -v c="$s0" -v d="$s1" -v e="$t0" -v f="$t1" \
    'BEGIN {printf "%.6f %.6f %.6f\n", (b - a) / 1e9, (d - c) / 1e9, (f - e) / 1e9}'
}

# The desktop's own low-latency reader keeps the virtual microphone running in
# 5 ms pieces for the latency tests; a cost measurement stops it.
parar_lector_del_escritorio() {
  [ -n "${PAREC_PID:-}" ] && kill "$PAREC_PID" 2>/dev/null
  PAREC_PID=""
}
