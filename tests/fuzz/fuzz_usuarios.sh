#!/usr/bin/env bash
# Runs the profile-file fuzzer for a bounded time (QUIMBAL_FUZZ_SEGUNDOS,
# 20 by default). Skipped (exit 77) where it was not built: no clang, or a
# sanitizer build of the program.
#   fuzz_usuarios.sh FUZZER [LIBFUZZER_OPTIONS...]  (given options come last
#   and take precedence)
set -euo pipefail
programa="$1"; shift
if [ ! -x "$programa" ]; then
    echo "fuzz_usuarios: omitido: no hay fuzzer construido (hace falta clang; no se construye con QUIMBAL_SANITIZE)"
    exit 77
fi
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
# Profile seeds: the default profile alone; two with a trailing part; 23 (two
# beyond the table) and a trailing part; a name with the five bytes
# Windows-1252 leaves undefined, the euro, ÿ and Ñ, and negative numbers.
general() { printf '%-20s%-20s%-20s%40s\x01\x00\x05\x00\x90\x01' General 'Click izquierdo' 'Click izquierdo' ''; }
general > "$corpus/general"
{ general; general; printf 'resto'; } > "$corpus/dos"
{ for _ in $(seq 23); do general; done; printf 'resto'; } > "$corpus/veintitres"
{ printf '\x81\x8d\x8f\x90\x9d\x80\xff\xd1%-12s%-20s%-20s%40s' '' 'SHIFT+...' F5 ''
  printf '\x02\x00\xff\xff\x00\x80'; } > "$corpus/raros"
# Settings seeds (21 bytes): COM3 and Ana; a port above 4; one byte short.
printf '\x03%-20s' Ana > "$corpus/config"
printf '\x09%-20s' General > "$corpus/config-puerto"
printf '\x02%-19s' Ana > "$corpus/config-corto"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Short allocation stacks and a small quarantine: each run allocates a few
# thousand small strings, and the default stack depth and quarantine more than
# halve the speed (and take 600 MB). A read past the input is caught the same.
export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=2:quarantine_size_mb=16}
# A failing input is kept beside the other test artefacts; a failure exits
# with 1 (the fuzzer's own default, 77, would read as "skipped").
artefactos="${QUIMBAL_ARTEFACTOS:-$PWD/artefactos}"
mkdir -p "$artefactos"
exec "$programa" -max_total_time="${QUIMBAL_FUZZ_SEGUNDOS:-20}" -max_len=3000 \
    -error_exitcode=1 -artifact_prefix="$artefactos/fuzz_usuarios-" -print_final_stats=1 \
    "$@" "$corpus"
