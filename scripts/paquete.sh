#!/usr/bin/env bash
# Builds the Debian package of the program, installing first what is missing.
#   scripts/paquete.sh [BUILD_FOLDER]     (default: build)
# The package lands in BUILD_FOLDER/paquete/quimbal_<version>_<arch>.deb; its
# path is the last line printed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
dir=${1:-build}

# The folders and files of the package get their modes from the umask.
umask 022
generador=()
[ -f "$dir/CMakeCache.txt" ] || generador=(-G Ninja)
cmake -S . -B "$dir" "${generador[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr
cmake --build "$dir" -j "$(nproc)" --target quimbal quimbal_documentos
rm -f "$dir"/paquete/quimbal_*.deb
(cd "$dir" && cpack -G DEB)
ls "$dir"/paquete/quimbal_*.deb
