#!/usr/bin/env bash
# Sets up the machine, builds, and runs every test: once in a normal build,
# once under AddressSanitizer and UndefinedBehaviorSanitizer. Headless.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
export QT_QPA_PLATFORM=offscreen

echo "== Build and test (build/)"
# The benchmarks are built and run by hand (bench/), not in this run.
bash scripts/build.sh build -DCMAKE_BUILD_TYPE=Release -DBRX_BUILD_BENCH=OFF
ctest --test-dir build --output-on-failure -j "$(nproc)"

echo "== Build and test under the sanitizers (build-asan/)"
bash scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DBRX_SANITIZE=ON -DBRX_BUILD_SFX=OFF -DBRX_BUILD_BENCH=OFF
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
ctest --test-dir build-asan --output-on-failure -j "$(nproc)"
