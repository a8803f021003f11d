#!/usr/bin/env bash
# Builds Quillon and its tests with AddressSanitizer and UndefinedBehaviorSanitizer in
# ./build-sanitize (without the benchmarks) and runs every test there. Any sanitizer report ends
# the program that made it, so the test fails; leaks are reported at exit. No suppressions are
# needed today; should third-party code ever need one, it goes in a suppressions file named in
# the options below, with its reason.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
# -O1 keeps the build and the run quick; the standard library's own checks catch out-of-range
# indexing that the sanitizers cannot see inside its containers.
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
  -DCMAKE_CXX_FLAGS="-D_GLIBCXX_ASSERTIONS" -DQUILLON_SANITIZE=address,undefined \
  -DQUILLON_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-sanitize -j"$(nproc)"

export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
cd build-sanitize
ctest --output-on-failure -j"$(nproc)"
