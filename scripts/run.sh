#!/usr/bin/env bash
# Builds the Windows program and starts it: under Wine on the current display, or with
# --screenshot FILE headless under Xvfb, saving a PNG of the screen once the window is up.
# The demo practice and its settings live in demo/ at the top of the tree (not committed).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
. scripts/wine_env.sh

screenshot=""
case "${1:-}" in
  "") ;;
  --screenshot)
    [ -n "${2:-}" ] || { echo "usage: scripts/run.sh [--screenshot FILE.png]" >&2; exit 2; }
    screenshot=$(realpath -m "$2") ;;
  *) echo "usage: scripts/run.sh [--screenshot FILE.png]" >&2; exit 2 ;;
esac

scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j2 --target apptbook answer_signon >/dev/null

demo="$root/demo"
mkdir -p "$demo"
# The demo's front-desk user (every right) is named; the program asks for the password at start
# (see the README for the logins).
[ -f "$demo/quorvin.ini" ] || printf '[GENERAL]\r\nPath=%s\r\nUser=FRONT\r\n' "$(winepath -w "$demo" 2>/dev/null || echo "$demo")" >"$demo/quorvin.ini"
if [ ! -f "$demo/qvn.db" ]; then
  # The native admin tool seeds the demo practice once; the program then keeps what is done in it.
  cmake --preset native >/dev/null
  cmake --build --preset native -j2 --target qvnadmin >/dev/null
  build/native/qvnadmin seed-demo "$demo" || echo "run.sh: seeding the demo practice failed" >&2
fi
export QUORVIN_SETTINGS="$demo/quorvin.ini"
exe="$root/build/win64/apptbook.exe"

if [ -z "$screenshot" ]; then
  export WINEDEBUG=-all WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}"
  exec wine "$exe"
fi

# Headless: a fresh prefix with a virtual desktop, so Wine draws the window frames itself.
trap 'stop_wine_env; rm -rf "$work"' EXIT
work=$(mktemp -d /tmp/qvn-run.XXXXXX)
start_xvfb 1280x1024
start_wine_prefix "$work/prefix" 1280 1024
wine "$exe" >/dev/null 2>&1 &
app=$!
# Nobody sits at this display: the sign-on is answered as a person would, by keyboard and mouse.
wine "$root/build/win64/answer_signon.exe" front 60 >/dev/null 2>&1 ||
  echo "run.sh: the sign-on prompt did not come up" >&2
# The desktop window appears when the program creates its first window; give it time to paint.
for _ in $(seq 1 100); do
  xwininfo -root -tree 2>/dev/null | grep -q 'Wine desktop' && break
  kill -0 "$app" 2>/dev/null || { echo "run.sh: apptbook.exe ended before showing a window" >&2; exit 1; }
  sleep 0.3
done
sleep 3
import -window root "$screenshot"
echo "run.sh: screenshot written to $screenshot"
