#!/usr/bin/env bash
# CPU time the sound capture costs while nothing happens: the component alone
# (build/sonda_sonido) reading the silent virtual microphone for a minute.
# Run on the test desktop (it brings the sound server), from the build folder:
#   QUIMBAL_BUILD=$PWD ../tests/e2e/escritorio.sh ../bench/cpu_sonido.sh [SECONDS]
set -eu
SEGUNDOS=${1:-60}
"$QUIMBAL_BUILD/sonda_sonido" "$SEGUNDOS" >/tmp/quimbal-cpu-sonda.$$ 2>/dev/null &
pid=$!
sleep 1
a=$(awk '{print $14 + $15}' /proc/$pid/stat)
sleep "$((SEGUNDOS - 2))"
b=$(awk '{print $14 + $15}' /proc/$pid/stat)
lecturas=$(grep -c NIVEL /tmp/quimbal-cpu-sonda.$$ || true)
wait $pid || true
rm -f /tmp/quimbal-cpu-sonda.$$
hz=$(getconf CLK_TCK)
python3 -c "
t = ($b - $a) / $hz
s = $SEGUNDOS - 2
print('captura en reposo: %.3f s de CPU en %d s = %.2f s por minuto (%.2f %% de un núcleo); %d lecturas' % (t, s, t * 60 / s, 100 * t / s, $lecturas))
"
