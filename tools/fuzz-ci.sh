#!/usr/bin/env bash
# Builds the libFuzzer targets with the "fuzz" CMake preset (clang, AddressSanitizer, UBSan)
# and runs each one for a fixed time on a scratch copy of its seed corpus in fuzz/corpus/, so
# the committed seeds never change. Any crash, sanitizer report, leak, time-out, memory blow-up
# or broken invariant fails the run; the input that caused it is kept in build/fuzz-findings/.
#
# Usage: tools/fuzz-ci.sh [seconds-per-target] [target...]
#   seconds-per-target  default 20; targets default to every folder in fuzz/corpus/.
#   TOLVANE_FUZZ_BUILD_DIR  build folder (default build/fuzz, the preset's own).
#   TOLVANE_FUZZ_NO_BUILD=1 runs targets that are already built.
#   TOLVANE_FUZZ_SEED  libFuzzer's seed (default 1). A fixed seed makes a run follow much the
#     same inputs each time (not exactly: some readers use randomness of their own, such as a
#     sign-in's cnonce), so CI mostly repeats what passed here rather than a new draw. 0 picks
#     a new seed each run, for looking further than CI does: do that before adding or
#     changing a parser.
#   TOLVANE_FUZZ_RUNS  the most inputs each target runs (default: as many as the time allows),
#     so a fast machine does not go much further than the runs checked before a push.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
seconds="${1:-20}"
[ $# -gt 0 ] && shift
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -lt 1 ]; then
  echo "fuzz-ci: seconds per target must be a whole number from 1 on, not '$seconds'" >&2
  exit 2
fi
build="${TOLVANE_FUZZ_BUILD_DIR:-$root/build/fuzz}"
findings="$root/build/fuzz-findings"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for dir in "$root"/fuzz/corpus/*/; do
    targets+=("$(basename "$dir")")
  done
fi
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz-ci: no targets: fuzz/corpus/ holds no seed folders" >&2
  exit 2
fi

# The largest input each target is given: what its reader could meet in practice, small
# enough that the time goes into many inputs rather than few large ones.
max_len_of() {
  case "$1" in
    http_response | rtf) echo 65536 ;;
    camlist) echo 16384 ;;
    settings) echo 8192 ;;
    split_cam_url) echo 4096 ;;
    daytime) echo 512 ;;
    *) echo 4096 ;;
  esac
}

# Flags a target needs beyond the common ones. The settings reader goes through Qt's settings
# cache, which keeps each file it parsed for a while; libFuzzer would take that for a leak
# after every input and scan the whole heap each time, a third of the speed for nothing.
# Leaks are still looked for when the run ends.
extra_flags_of() {
  case "$1" in
    settings) echo "-detect_leaks=0" ;;
    *) echo "" ;;
  esac
}

# The longest one input may take, in seconds; an input that takes longer fails the run, as does
# one that comes within reach of it (libFuzzer's slow-unit report). Qt reads a "@Variant(...)" text value that declares more characters
# than follow in steps of a million, so it allocates 2 MB before it finds the data missing; each
# such value costs a plain build microseconds, but under AddressSanitizer each fresh large block
# is mapped, faulted in and poisoned, several milliseconds, and every read of the file meets
# every value again. An 8 KB file holding a few hundred of them took 11 s on a CI machine: slow
# only because of the sanitizer, so the settings reader gets more time than the others.
timeout_of() {
  case "$1" in
    settings) echo 40 ;;
    *) echo 10 ;;
  esac
}

# Sanitizer options a target needs. A damaged "@Variant(...)" settings value can declare a list
# of billions of entries, and Qt reserves room for them before it finds the data missing. A
# plain build gets address space it never touches, or a refusal that Qt shrugs off; under
# AddressSanitizer the same request maps and poisons gigabytes and times out. Refusing large
# requests here gives the plain build's behaviour.
asan_options_of() {
  case "$1" in
    settings) echo "$ASAN_OPTIONS:allocator_may_return_null=1:max_allocation_size_mb=512" ;;
    *) echo "$ASAN_OPTIONS" ;;
  esac
}

if [ "${TOLVANE_FUZZ_NO_BUILD:-0}" != 1 ]; then
  cmake -S "$root" --preset fuzz -B "$build" >/dev/null
  build_targets=()
  for t in "${targets[@]}"; do
    build_targets+=("fuzz_$t")
  done
  cmake --build "$build" --target "${build_targets[@]}" -j2
fi

work=$(mktemp -d)
# The targets' scratch files (settings and cam list copies) go to memory where there is some,
# and go away with the run even when a target crashed before cleaning up.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  scratch=$(mktemp -d -p /dev/shm tolvane-fuzz-ci.XXXXXX)
else
  scratch="$work/scratch"
fi
export TOLVANE_FUZZ_SCRATCH="$scratch"
trap 'rm -rf "$work" "$scratch"' EXIT
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
# Qt seeds its hash tables at random in each process; a fixed seed keeps a run repeatable.
export QT_HASH_SEED=0
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

failed=()
for t in "${targets[@]}"; do
  binary="$build/bin/fuzz_$t"
  seeds="$root/fuzz/corpus/$t"
  if [ ! -x "$binary" ] || [ ! -d "$seeds" ]; then
    echo "fuzz-ci: $t: missing $binary or $seeds" >&2
    failed+=("$t")
    continue
  fi
  mkdir -p "$work/$t/corpus" "$work/$t/artifacts"
  cp -R "$seeds"/. "$work/$t/corpus"/
  status=0
  # shellcheck disable=SC2046 # the extra flags are separate words
  ASAN_OPTIONS="$(asan_options_of "$t")" "$binary" $(extra_flags_of "$t") -seed="${TOLVANE_FUZZ_SEED:-1}" -runs="${TOLVANE_FUZZ_RUNS:--1}" -max_total_time="$seconds" -max_len="$(max_len_of "$t")" -timeout="$(timeout_of "$t")" -report_slow_units="$(timeout_of "$t")" -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$work/$t/artifacts/" "$work/$t/corpus" >"$work/$t/log" 2>&1 || status=$?
  # libFuzzer's last status line: "#N DONE cov: C ft: F corp: ..."
  summary=$(grep -E '^#[0-9]+' "$work/$t/log" | tail -n 1 || true)
  if [ "$status" -ne 0 ] || [ -n "$(ls -A "$work/$t/artifacts")" ]; then
    echo "fuzz-ci: $t FAILED (exit $status)"
    tail -n 60 "$work/$t/log"
    mkdir -p "$findings/$t"
    cp -R "$work/$t/artifacts"/. "$findings/$t"/ 2>/dev/null || true
    echo "fuzz-ci: $t: the failing inputs are in $findings/$t"
    failed+=("$t")
  else
    echo "fuzz-ci: $t passed ${seconds}s: $summary"
  fi
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzz-ci: ${#failed[@]} of ${#targets[@]} targets failed: ${failed[*]}"
  exit 1
fi
echo "fuzz-ci: all ${#targets[@]} targets passed"
