#!/usr/bin/env bash
# Speed of the profile-file fuzzer: exactly ten million inputs through an
# already built fuzzer (with its usual seeds and options, see
# tests/fuzz/fuzz_usuarios.sh); prints the time taken and the inputs a second.
# Builds nothing.
#   bench/fuzz_usuarios.sh [FUZZER]   (default: build/fuzz/fuzz_usuarios)
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
fuzzer=${1:-$raiz/build/fuzz/fuzz_usuarios}
[ -x "$fuzzer" ] || { echo "no hay fuzzer construido en $fuzzer" >&2; exit 1; }
entradas=10000000
registro=$(mktemp)
trap 'rm -f "$registro"' EXIT
inicio=$(date +%s%N)
QUIMBAL_ARTEFACTOS=${QUIMBAL_ARTEFACTOS:-$(dirname "$registro")} \
  "$raiz/tests/fuzz/fuzz_usuarios.sh" "$fuzzer" -runs=$entradas -max_total_time=0 \
  >"$registro" 2>&1 || { tail -n 30 "$registro" >&2; exit 1; }
ms=$(( ($(date +%s%N) - inicio) / 1000000 ))
hechas=$(sed -n 's/^stat::number_of_executed_units: *//p' "$registro")
[ "$hechas" = "$entradas" ] || { tail -n 30 "$registro" >&2; echo "se ejecutaron $hechas entradas, no $entradas" >&2; exit 1; }
echo "fuzz_usuarios: $entradas entradas en $((ms / 1000)).$(printf %03d $((ms % 1000))) s," \
  "$((entradas * 1000 / ms)) entradas/s"
