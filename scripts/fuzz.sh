#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/*Fuzz.cpp) with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in build/fuzz, then runs each one for a short while
# on its seed corpus in fuzz/corpus/<target>/. New inputs the fuzzer finds go to
# a scratch directory, so the committed seeds stay as they are; a crashing input
# is kept as build/fuzz/artifacts/<target>-crash-*.
#
#   scripts/fuzz.sh                 every target, FUZZ_SECONDS (default 20) each
#   scripts/fuzz.sh CacheFileFuzz   one target
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

seconds="${FUZZ_SECONDS:-20}"
build=build/fuzz

cmake -S . -B "$build" -G Ninja \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUARRA_SANITIZE=address,undefined \
  -DQUARRA_BUILD_FUZZ=ON \
  -DQUARRA_BUILD_TESTS=OFF -DQUARRA_BUILD_BENCH=OFF -DQUARRA_BUILD_TOOLS=OFF
cmake --build "$build" -j2 --target quarra_fuzz

if (($#)); then
  targets=("$@")
else
  targets=()
  for source in fuzz/*Fuzz.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi

# Scratch space for each run: new corpus entries and the files a target
# writes. In memory when the machine has it; removed afterwards either way.
scratch_base=/tmp
[[ -d /dev/shm && -w /dev/shm ]] && scratch_base=/dev/shm
scratch=""
trap '[[ -n "$scratch" ]] && rm -rf "$scratch"' EXIT

mkdir -p "$build/artifacts"
for target in "${targets[@]}"; do
  corpus="fuzz/corpus/$target"
  mkdir -p "$corpus"
  scratch=$(mktemp -d -p "$scratch_base" quarra-fuzz-XXXXXX)
  mkdir "$scratch/new" "$scratch/tmp"
  options=(-max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-")
  [[ -f "fuzz/$target.dict" ]] && options+=(-dict="fuzz/$target.dict")
  echo "fuzz: $target for ${seconds}s"
  status=0
  TMPDIR="$scratch/tmp" "$build/fuzz/$target" "${options[@]}" "$scratch/new" "$corpus" || status=$?
  rm -rf "$scratch"
  scratch=""
  if ((status)); then
    echo "fuzz: $target failed; the input is in $build/artifacts/" >&2
    exit "$status"
  fi
done
echo "fuzz: all targets ran clean"
