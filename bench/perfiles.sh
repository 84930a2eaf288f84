#!/usr/bin/env bash
# Times the data files' load, append and complete save.
#   bench/perfiles.sh [BUILD] [FOLDER] [RUNS]
# FOLDER should be on the disk the program lives on (default: a temporary
# folder under /tmp), since the save waits for the disk.
set -eu
build=${1:-$(dirname "$0")/../build}
carpeta=${2:-$(mktemp -d /tmp/bench-perfiles.XXXXXX)}
exec "$build/bench_perfiles" "$carpeta" "${3:-200}"
