# Shared by ./run, ./test, ./run-bench and ./run-fuzz: set-up and the build trees.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

# CORVANE_JOBS limits the build and test jobs (default: every core).
jobs=${CORVANE_JOBS:-$(nproc)}

# The targets that configure_build builds; empty for all of them.
build_targets=()

# Set when install-deps has run in this shell.
deps_checked=

# configure_build DIR [cmake args...]: installs what is missing (once), configures
# build/DIR once and builds it.
configure_build() {
  local dir=build/$1
  shift
  [ -n "$deps_checked" ] || { tools/install-deps; deps_checked=1; }
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs" ${build_targets[@]+--target "${build_targets[@]}"}
}

build_release() {
  configure_build release -DCMAKE_BUILD_TYPE=Release -DCORVANE_WERROR=ON
}

build_asan() {
  configure_build asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
    -DCMAKE_C_FLAGS_DEBUG="-g -O1" -DCORVANE_WERROR=ON -DCORVANE_SANITIZE=ON -DCORVANE_BENCH=OFF
}

build_fuzz() {
  CC=clang CXX=clang++ configure_build fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCORVANE_WERROR=ON -DCORVANE_FUZZ=ON
}

# run_fuzz NAME SECONDS: runs one target on a scratch copy of its seed corpus.
# libFuzzer writes its artifacts (crash-, leak-, timeout-, oom-, slow-unit-…)
# into the scratch folder, never into the tree; a failure or slow unit is
# copied to build/fuzz/findings/NAME/ and named in the message.
run_fuzz() {
  local name=$1 seconds=$2
  local scratch log artifacts findings=build/fuzz/findings/$name rc=0
  scratch=$(mktemp -d)
  log=$scratch.log
  artifacts=$scratch.artifacts
  mkdir "$artifacts"
  # A unit that runs 25 seconds counts as a hang and fails the run.
  local args=(-max_total_time="$seconds" -timeout=25 -print_final_stats=1 -artifact_prefix="$artifacts/" "$scratch")
  [ -f "fuzz/$name.dict" ] && args=(-dict="fuzz/$name.dict" "${args[@]}")
  [ -d "fuzz/corpus/$name" ] && args+=("fuzz/corpus/$name")
  build/fuzz/fuzz/fuzz_"$name" "${args[@]}" >"$log" 2>&1 || rc=$?
  local found=() artifact
  for artifact in "$artifacts"/*; do
    [ -e "$artifact" ] || continue
    mkdir -p "$findings"
    cp "$artifact" "$findings/"
    found+=("$findings/${artifact##*/}")
  done
  if [ "$rc" -ne 0 ]; then
    tail -n 60 "$log"
    mkdir -p "$findings"
    cp "$log" "$findings/fuzz.log"
    echo "fuzz $name: FAILED (log $findings/fuzz.log)"
    for artifact in ${found[@]+"${found[@]}"}; do echo "fuzz $name: finding $artifact"; done
  else
    echo "fuzz $name: $(grep -h -E '^stat::number_of_executed_units' "$log" | awk '{print $2}') runs," \
         "corpus $(ls "$scratch" | wc -l) new + $(ls "fuzz/corpus/$name" 2>/dev/null | wc -l) seeds"
    for artifact in ${found[@]+"${found[@]}"}; do echo "fuzz $name: slow unit $artifact"; done
  fi
  rm -rf "$scratch" "$log" "$artifacts"
  return "$rc"
}

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
