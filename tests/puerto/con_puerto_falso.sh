#!/usr/bin/env bash
# Runs a command with the test serial port in place: a fresh folder
# /tmp/quimbal-falso-XXXX whose ttyFAKE (which does not exist) the preload
# library turns into a pseudo-terminal with scripted modem lines.
#   con_puerto_falso.sh PRELOAD.so COMMAND [ARGS...]
# The command gets QUIMBAL_PUERTO_FALSO (the device path; its state file is
# that path plus ".estado") and runs with the library preloaded. The folder
# is removed afterwards.
set -u
so="$1"; shift
[ -f "$so" ] || { echo "falta la biblioteca $so" >&2; exit 1; }
dir=$(mktemp -d /tmp/quimbal-falso-XXXXXX)
trap 'rm -rf "$dir"' EXIT
export QUIMBAL_PUERTO_FALSO="$dir/ttyFAKE"
# Sanitizer builds: the library is preloaded before the sanitizer runtime.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"
LD_PRELOAD="$so${LD_PRELOAD:+:$LD_PRELOAD}" "$@"
