# Shared by tests/fuzz/campaign and tests/fuzz/smoke (sourced, not run).
#   fuzz_missing          prints why the targets cannot be built here, if so
#   fuzz_build            configures and builds the preset "fuzz" (nice'd)
#   fuzz_targets          the target names, one a line
#   fuzz_run T SECONDS    runs target T, one job, nice'd; sets RUN_* below
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
. "$here/scripts/env.sh"
fuzz_bin="$here/build/fuzz/fuzz"
fuzz_work="$here/build/fuzz/work"
fuzz_seeds="$here/tests/fuzz/corpus"

fuzz_missing() {
  command -v clang++ >/dev/null 2>&1 || { echo "clang++ is not installed (tests/apt-packages)"; return; }
  local rt
  rt=$(clang++ -print-file-name=libclang_rt.fuzzer-x86_64.a 2>/dev/null)
  [ -f "$rt" ] || rt=$(find "$(clang++ -print-resource-dir 2>/dev/null)" -name 'libclang_rt.fuzzer*.a' 2>/dev/null | head -1)
  [ -n "$rt" ] && [ -f "$rt" ] || { echo "libFuzzer (libclang-rt-*-dev) is not installed (tests/apt-packages)"; return; }
  [ -f "$VELTRANE_DEPS/tinyxml/tinyxml.h" ] || echo "the dependency sources are missing (run scripts/setup)"
}

fuzz_build() {
  mkdir -p "$here/build"
  if [ ! -f "$here/build/fuzz/build.ninja" ]; then
    (cd "$here" && cmake --preset fuzz) >"$here/build/fuzz.configure.log" 2>&1 ||
      { cat "$here/build/fuzz.configure.log" >&2; return 1; }
  fi
  (cd "$here" && nice -n 19 cmake --build --preset fuzz -- -j"$(nproc)") >"$here/build/fuzz.log" 2>&1 ||
    { grep -vE '^\[[0-9]+/[0-9]+\] ' "$here/build/fuzz.log" >&2; return 1; }
}

fuzz_targets() {
  local f
  for f in "$here"/tests/fuzz/*.cpp; do basename "$f" .cpp; done
}

# Options a target asks for on a line "// fuzz-options: -max_len=N ..." of
# its source.
fuzz_options() {
  sed -n 's|^// fuzz-options: *||p' "$here/tests/fuzz/$1.cpp" | head -1
}

# Runs one target for SECONDS over a growing corpus of its own (kept in
# build/fuzz/work/<target>/corpus between runs) and the committed seeds.
# Sets RUN_EXECS, RUN_COV, RUN_FT, RUN_CORPUS, RUN_FINDINGS (file names of new
# crash/timeout/oom/leak inputs, blank-separated), RUN_RC, RUN_LOG.
fuzz_run() {
  local t=$1 seconds=$2 dir="$fuzz_work/$1"
  mkdir -p "$dir/corpus" "$dir/findings"
  local seeds=()
  local g
  for g in valid edge malformed; do
    [ -d "$fuzz_seeds/$t/$g" ] && seeds+=("$fuzz_seeds/$t/$g")
  done
  local before
  before=$(ls "$dir/findings" | sort)
  RUN_LOG="$dir/last.log"
  RUN_RC=0
  # shellcheck disable=SC2046
  nice -n 19 "$fuzz_bin/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$dir/findings/" $(fuzz_options "$t") "$dir/corpus" "${seeds[@]}" >"$RUN_LOG" 2>&1 ||
    RUN_RC=$?
  RUN_EXECS=$(sed -n 's/^stat::number_of_executed_units: *//p' "$RUN_LOG" | tail -1)
  [ -n "$RUN_EXECS" ] || RUN_EXECS=$(grep -oE '^#[0-9]+' "$RUN_LOG" | tail -1 | tr -d '#')
  RUN_COV=$(grep -oE 'cov: [0-9]+' "$RUN_LOG" | tail -1 | cut -d' ' -f2)
  RUN_FT=$(grep -oE 'ft: [0-9]+' "$RUN_LOG" | tail -1 | cut -d' ' -f2)
  RUN_CORPUS=$(ls "$dir/corpus" | wc -l)
  RUN_FINDINGS=$(comm -13 <(echo "$before") <(ls "$dir/findings" | sort) | tr '\n' ' ' | sed 's/ *$//')
  : "${RUN_EXECS:=0}" "${RUN_COV:=0}" "${RUN_FT:=0}"
}
