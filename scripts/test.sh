#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds, and passes every
# test: the unit, end-to-end and guest (vm) tests on the normal build, then the
# unit tests again on a build with AddressSanitizer and
# UndefinedBehaviorSanitizer, then the Debian package built from the normal
# build, installed, used and purged.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

# The C and C++ sources as clang-format writes them (.clang-format).
git ls-files -z '*.cpp' '*.h' '*.c' | xargs -0 clang-format --dry-run -Werror

jobs=$(nproc)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUIMBAL_WERROR=ON \
  -DCMAKE_INSTALL_PREFIX=/usr
cmake --build build -j "$jobs"
ctest --test-dir build -L unit -j "$jobs" --output-on-failure
ctest --test-dir build -L e2e --output-on-failure
# In a QEMU guest on a real kernel; skipped where QEMU cannot run.
ctest --test-dir build -L vm --output-on-failure

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUIMBAL_SANITIZE=ON -DQUIMBAL_WERROR=ON
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan -L unit -j "$jobs" --output-on-failure

# Installs and purges a system package: needs root, as in CI.
bash scripts/paquete.sh build
bash tests/paquete/prueba_paquete.sh build
