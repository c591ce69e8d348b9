#!/usr/bin/env bash
# Brings a machine to the point where every build and test tier can run: installs the Debian
# packages that are missing and fetches the pinned SQLite amalgamation into the build tree.
# Idempotent: when everything is there it checks, says one line and exits.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
third_party="$root/build/third_party"

# Packages the build, the tests and the screenshots need (PostgreSQL and its ODBC driver: the
# server backend, tested against a throwaway cluster the tests start themselves).
packages=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools wine wine64 xvfb
          imagemagick fonts-liberation cmake googletest libgtest-dev libbenchmark-dev
          g++ make xauth x11-utils
          postgresql odbc-postgresql unixodbc unixodbc-dev)

# The SQLite amalgamation comes inside a pinned npm tarball (SQLite 3.53.2).
sqlite_package="better-sqlite3@12.11.1"
sqlite_tarball="better-sqlite3-12.11.1.tgz"
sqlite_sha256="ebf0ed75a7a59dbcb3b24bbd014ef49d9f15bc328e4adcbf516f2a8fadfa2835"

fail() { echo "setup.sh: $*" >&2; exit 1; }

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

# npm may come from Node.js's own packages rather than Debian's; any working npm will do.
command -v npm >/dev/null || missing+=(npm)

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup.sh: installing ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  command -v apt-get >/dev/null || fail "apt-get not found; install by hand: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  timeout 900 $sudo apt-get update -qq \
    || fail "apt-get update failed (no network to the package registry?)"
  timeout 1800 $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null \
    || fail "apt-get install failed for: ${missing[*]}"
fi

# Wine must find its 64-bit loader, whichever way the Debian packages arrange it.
if ! command -v wine >/dev/null; then
  fail "wine is not on PATH after installing; install the Debian packages wine and wine64"
fi

sqlite_dir="$third_party/sqlite"
if [ ! -f "$sqlite_dir/sqlite3.c" ] || [ ! -f "$sqlite_dir/.sha256-ok" ]; then
  mkdir -p "$third_party"
  work=$(mktemp -d "$third_party/fetch.XXXXXX")
  trap 'rm -rf "$work"' EXIT
  echo "setup.sh: fetching the SQLite amalgamation ($sqlite_package)"
  (cd "$work" && timeout 300 npm pack --silent "$sqlite_package" >/dev/null 2>"$work/npm.log") \
    || fail "download of $sqlite_package failed: $(tail -n 3 "$work/npm.log" 2>/dev/null)"
  [ -f "$work/$sqlite_tarball" ] || fail "npm pack did not produce $sqlite_tarball"
  actual=$(sha256sum "$work/$sqlite_tarball" | cut -d' ' -f1)
  if [ "$actual" != "$sqlite_sha256" ]; then
    fail "checksum mismatch for $sqlite_tarball: expected $sqlite_sha256, got $actual; nothing was installed"
  fi
  tar -xzf "$work/$sqlite_tarball" -C "$work" package/deps/sqlite3 \
    || fail "could not unpack package/deps/sqlite3 from $sqlite_tarball"
  rm -rf "$sqlite_dir"
  mkdir -p "$sqlite_dir"
  cp "$work/package/deps/sqlite3/sqlite3.c" "$work/package/deps/sqlite3/sqlite3.h" \
     "$work/package/deps/sqlite3/sqlite3ext.h" "$sqlite_dir/"
  echo "$sqlite_sha256" > "$sqlite_dir/.sha256-ok"
  echo "setup.sh: SQLite $(grep -m1 '#define SQLITE_VERSION ' "$sqlite_dir/sqlite3.h" | awk '{print $3}') ready in $sqlite_dir"
fi

echo "setup.sh: all tools and SQLite present"
