# Sourced by test.sh and run.sh: a headless X server and a fresh Wine prefix with a virtual
# desktop, torn down again when the calling script exits. Every wait is bounded.
#
#   start_xvfb WIDTHxHEIGHT      sets DISPLAY to a new Xvfb server
#   start_wine_prefix DIR W H    creates a prefix in DIR whose programs share one W x H desktop

qvn_xvfb_pid=""
qvn_prefix=""

stop_wine_env() {
  if [ -n "$qvn_prefix" ]; then
    WINEPREFIX="$qvn_prefix" timeout 20 wineserver -k >/dev/null 2>&1 || true
  fi
  if [ -n "$qvn_xvfb_pid" ]; then
    kill "$qvn_xvfb_pid" 2>/dev/null || true
    wait "$qvn_xvfb_pid" 2>/dev/null || true
  fi
}

start_xvfb() {
  local size=$1 n
  command -v Xvfb >/dev/null || { echo "Xvfb is missing: run scripts/setup.sh" >&2; return 1; }
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
    qvn_xvfb_pid=$!
    local tries=0
    while [ $tries -lt 50 ]; do
      if [ -e "/tmp/.X11-unix/X$n" ]; then
        export DISPLAY=":$n"
        return 0
      fi
      kill -0 "$qvn_xvfb_pid" 2>/dev/null || break
      sleep 0.2
      tries=$((tries + 1))
    done
    kill "$qvn_xvfb_pid" 2>/dev/null || true
    qvn_xvfb_pid=""
  done
  echo "could not start Xvfb on any display :90 to :140" >&2
  return 1
}

start_wine_prefix() {
  local dir=$1 width=$2 height=$3
  command -v wine >/dev/null || { echo "wine is missing: run scripts/setup.sh" >&2; return 1; }
  export WINEPREFIX="$dir" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  qvn_prefix="$dir"
  if ! timeout 300 wineboot -i >"$dir.boot.log" 2>&1; then
    echo "Wine could not create its prefix in $dir (wineboot failed or took over 300 s):" >&2
    tail -n 5 "$dir.boot.log" >&2
    return 1
  fi
  timeout 60 wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 &&
  timeout 60 wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default \
    /d "${width}x${height}" /f >/dev/null 2>&1 || {
    echo "Wine started but could not write its registry in $dir" >&2
    return 1
  }
  # The desktop settings take effect when Wine's explorer starts again.
  timeout 30 wineserver -k >/dev/null 2>&1 || true
  timeout 30 wineserver -w >/dev/null 2>&1 || true
}
