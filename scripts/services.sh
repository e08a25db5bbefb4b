# Background services of the test and demo scripts (sourced). Each is started
# with its output sent away from the caller's pipes: a lingering wineserver or
# Xvfb that holds the pipe of a captured script keeps that script from ending.

VELTRANE_PIDS=()

# Starts Xvfb on a free display unless DISPLAY already works (or force=1).
start_xvfb() {
  local force=${1:-0}
  if [ "$force" != 1 ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  local n=${VELTRANE_DISPLAY_NUMBER:-91}
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
  VELTRANE_PIDS+=($!)
  export DISPLAY=":$n"
  local i
  for i in $(seq 1 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Xvfb did not start on $DISPLAY" >&2
  return 1
}

start_wineserver() {
  wineserver -p </dev/null >/dev/null 2>&1
  # The first process of a run brings the prefix up; do it before timing anything.
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

stop_services() {
  wineserver -k </dev/null >/dev/null 2>&1 || true
  local pid
  for pid in "${VELTRANE_PIDS[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in "${VELTRANE_PIDS[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
  VELTRANE_PIDS=()
}

# Installs the lab's tracert stand-in (Wine has no tracert) into the Wine
# prefix's system32 as tracert.exe, where the command search finds it after
# the program's own folder and the current folder. Only there: never beside
# veltrane.exe, where it would shadow the real tracert on Windows.
install_tracert_standin() {
  # The i686 build searches syswow64, Windows' system folder for 32-bit
  # programs, so it gets the i686 stand-in there.
  local arch dir exe
  for arch in win64:system32 win32:syswow64; do
    exe="$VELTRANE_ROOT/build/${arch%%:*}/lab/vt-tracert.exe"
    dir="$WINEPREFIX/drive_c/windows/${arch#*:}"
    [ -f "$exe" ] && [ -d "$dir" ] || continue
    cmp -s "$exe" "$dir/tracert.exe" || cp "$exe" "$dir/tracert.exe"
  done
}

# lab/run on the lab profile's addresses, for as long as a layer needs it.
start_lab() {  # state folder; further arguments go to lab/run
  local dir=$1; shift
  mkdir -p "$dir"
  "$VELTRANE_ROOT/lab/run" --state-dir "$dir" "$@" </dev/null >"$dir/lab.out" 2>&1 &
  VELTRANE_LAB_PID=$!
  VELTRANE_PIDS+=("$VELTRANE_LAB_PID")
  "$VELTRANE_ROOT/scripts/wait-lab" "$dir/lab.out" "$VELTRANE_LAB_PID" 15
}

stop_lab() {
  [ -n "${VELTRANE_LAB_PID:-}" ] || return 0
  kill "$VELTRANE_LAB_PID" 2>/dev/null || true
  wait "$VELTRANE_LAB_PID" 2>/dev/null || true
  VELTRANE_LAB_PID=
}
