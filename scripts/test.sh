#!/usr/bin/env bash
# Builds and tests everything on this machine: setup, the native build and its tests, the win64
# build with the core and Win32 tests under Wine and the UI tests under Wine in Xvfb, and the
# win32 compile. Ends with the test runners' summary lines; exits non-zero on any failure.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
. scripts/wine_env.sh

jobs=2
failures=()
summaries=()
work=$(mktemp -d /tmp/qvn-test.XXXXXX)
trap 'stop_wine_env; rm -rf "$work"' EXIT

step() { echo; echo "=== $*"; }
fail() { failures+=("$1"); echo "FAILED: $1" >&2; }

# Runs ctest with a hard bound and keeps its summary line for the end of the report.
run_ctest() {
  local name=$1 bound=$2
  shift 2
  local log="$work/$name.log"
  timeout "$bound" ctest "$@" 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  local summary
  summary=$(grep -E 'tests passed|No tests were found' "$log" | tail -n 1)
  summaries+=("$name: ${summary:-no summary (ctest exit $rc)}")
  if [ "$rc" -eq 124 ]; then
    fail "$name tests did not finish within ${bound} s"
  elif [ "$rc" -ne 0 ]; then
    fail "$name tests (ctest exit $rc)"
  fi
}

build() {
  local preset=$1
  { cmake --preset "$preset" >"$work/configure-$preset.log" 2>&1 || {
      cat "$work/configure-$preset.log"; false; }; } &&
  timeout 3600 cmake --build --preset "$preset" -j"$jobs"
}

step "setup"
scripts/setup.sh || { echo "scripts/setup.sh failed; nothing was built" >&2; exit 1; }

step "native build and tests"
if build native; then
  run_ctest native 1200 --preset native
else
  fail "native build"
fi

step "win64 build"
if build win64; then
  step "win64 tests under Wine (fresh prefix, Xvfb)"
  if start_xvfb 1280x1024 && start_wine_prefix "$work/prefix" 1280 1024; then
    run_ctest win64 1800 --test-dir build/win64 --output-on-failure
  else
    fail "Wine/Xvfb start"
  fi
else
  fail "win64 build"
fi

step "win32 compile"
build win32 || fail "win32 build"

echo
echo "=== summary"
for s in "${summaries[@]}"; do echo "$s"; done
if [ ${#failures[@]} -gt 0 ]; then
  for f in "${failures[@]}"; do echo "FAILED: $f"; done
  exit 1
fi
echo "all builds and test tiers passed"
