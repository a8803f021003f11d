#!/usr/bin/env bash
# Builds one fuzz target and runs it for a while:
#
#   scripts/fuzz.sh TARGET SECONDS [ENGINE OPTIONS...]
#   targets: FileNameTags IniFile MameImportXml MameImportLegacy HtmlPage Sqlite2Reader
#
# With clang and libFuzzer (Debian: clang libfuzzer-14-dev) the target is built with
# -fsanitize=fuzzer,address,undefined in build-fuzz/; without them, with g++'s address and
# undefined sanitizers around the plain mutation loop of fuzz/MutationLoop.cpp in
# build-fuzz-plain/ (QUILLON_FUZZ_ENGINE=plain forces that). The run starts from the corpus in
# fuzz/corpus/TARGET; inputs libFuzzer finds worth keeping go to BUILD/corpus/TARGET (the
# repository keeps its corpus small), a crashing input to BUILD/artifacts/TARGET/. A crash ends the
# run with a non-zero status: replay it with BUILD/fuzz/fuzz_TARGET FILE, then make it a test and
# a corpus file.
set -euo pipefail
cd "$(dirname "$0")/.."

targets=(FileNameTags IniFile MameImportXml MameImportLegacy HtmlPage Sqlite2Reader)
if [[ $# -lt 2 || ! " ${targets[*]} " =~ " $1 " || ! $2 =~ ^[0-9]+$ ]]; then
  echo "usage: scripts/fuzz.sh TARGET SECONDS [ENGINE OPTIONS...]" >&2
  echo "targets: ${targets[*]}" >&2
  exit 2
fi
target=$1
seconds=$2
shift 2

./scripts/install-deps.sh

engine=${QUILLON_FUZZ_ENGINE:-}
if [[ -z $engine ]]; then
  if command -v clang++ >/dev/null && compgen -G "/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a" \
    >/dev/null; then
    engine=libfuzzer
  else
    echo "fuzz.sh: clang with libFuzzer not found (apt-get install clang libfuzzer-14-dev); using the plain" \
      "mutation loop, which has no coverage feedback" >&2
    engine=plain
  fi
fi

configure=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLON_SANITIZE=address,undefined -DQUILLON_FUZZ_ENGINE="$engine"
  -DQUILLON_BUILD_BENCHMARKS=OFF)
if command -v ccache >/dev/null; then
  configure+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
if [[ $engine == libfuzzer ]]; then
  build=build-fuzz
  configure+=(-DCMAKE_CXX_COMPILER=clang++)
else
  build=build-fuzz-plain
fi
cmake -S . -B "$build" "${configure[@]}" >/dev/null
cmake --build "$build" -j"${QUILLON_FUZZ_BUILD_JOBS:-2}" --target "fuzz_$target"

work_corpus=$build/corpus/$target
artifacts=$build/artifacts/$target/
mkdir -p "$work_corpus" "$artifacts"
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:abort_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export QT_QPA_PLATFORM=offscreen
echo "fuzz.sh: $target for $seconds s ($engine engine)" >&2
# libFuzzer adds what it finds to the first folder and reads the others.
exec "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$artifacts" \
  "$@" "$work_corpus" "fuzz/corpus/$target"
