#!/usr/bin/env bash
# Runs the profile-file fuzzer for a bounded time (QUIMBAL_FUZZ_SEGUNDOS,
# 20 by default). Skipped (exit 77) where it was not built: no clang, or a
# sanitizer build of the program.
set -euo pipefail
programa="$1"
if [ ! -x "$programa" ]; then
    echo "fuzz_usuarios: omitido: no hay fuzzer construido (hace falta clang; no se construye con QUIMBAL_SANITIZE)"
    exit 77
fi
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
# Seeds: the default profile alone, and two profiles with a trailing part.
{ printf '%-20s%-20s%-20s%40s' General 'Click izquierdo' 'Click izquierdo' ''
  printf '\x01\x00\x05\x00\x90\x01'; } > "$corpus/general"
{ cat "$corpus/general"; cat "$corpus/general"; printf 'resto'; } > "$corpus/dos"
export QT_QPA_PLATFORM=offscreen
export LSAN_OPTIONS="suppressions=$(dirname "$0")/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# A failing input is kept beside the other test artefacts.
artefactos="${QUIMBAL_ARTEFACTOS:-$PWD/artefactos}"
mkdir -p "$artefactos"
exec "$programa" -max_total_time="${QUIMBAL_FUZZ_SEGUNDOS:-20}" -max_len=3000 \
    -artifact_prefix="$artefactos/fuzz_usuarios-" -print_final_stats=1 "$corpus"
