#!/bin/sh
# Makes the README's pictures in docs/ from the screenshots the UI and Win32-side tests save
# (build/win64/tests/screenshots/*.bmp, written by ui_tests.exe and win_tests.exe under Wine):
# the sheet's day and month views, the schedule calendar in its three modes, and a page of each
# printed report.
# Usage: scripts/docs_screenshots.sh [SCREENSHOT_DIR]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
shots=${1:-"$root/build/win64/tests/screenshots"}
mkdir -p "$root/docs"
missing=0
for name in day_view month_view calendar_pick calendar_practice calendar_provider; do
    if [ -f "$shots/$name.bmp" ]; then
        convert "$shots/$name.bmp" -alpha off -strip "$root/docs/$name.png"
        echo "docs/$name.png"
    else
        echo "missing: $shots/$name.bmp (run the UI and Win32-side tests first)" >&2
        missing=1
    fi
done
# One page of each report of the print program, written as PNG by qvprint.exe --to in the
# Win32-side tests.
for name in print_day print_route_slip print_referral_recap; do
    if [ -f "$shots/$name.png" ]; then
        convert "$shots/$name.png" -strip "$root/docs/$name.png"
        echo "docs/$name.png"
    else
        echo "missing: $shots/$name.png (run the Win32-side tests first)" >&2
        missing=1
    fi
done
exit $missing
