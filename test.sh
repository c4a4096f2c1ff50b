#!/usr/bin/env bash
# Installs what is missing, builds with the sanitizers into build/, runs every test.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZT_SANITIZE=ON >/dev/null
cmake --build build
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# A test that hangs (a modal wait nobody answers) fails after two minutes.
ctest --test-dir build --output-on-failure --timeout 120 -j2
