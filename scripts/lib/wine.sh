# Which Wine runs the Windows programs on this machine, and a fresh Wine
# session to run them in. Sourced by the scripts that run Windows programs;
# the session runs one command at a time, on the caller's thread.
#
# The shipped DLL is 32-bit and runs under 32-bit Wine where the kernel can
# start 32-bit programs. A kernel booted without ia32 emulation (dmesg:
# "32-bit emulation disabled") cannot; there the same sources build as 64-bit
# Windows programs into build/win64 and run under 64-bit Wine. Each loader is a
# program of its own width, so each is asked directly: Debian's `wine` wrapper
# prefers the 32-bit one whenever wine32 is installed.

stats_wine32=/usr/lib/wine/wine
stats_wine64=/usr/lib/wine/wine64
stats_wineserver=/usr/lib/wine/wineserver
stats_wine_lib=$(realpath "${BASH_SOURCE[0]}")

# Sets wine_kind (win32 or win64: the build kind, whose folder is
# build/$wine_kind) and wine_loader to the Wine that can start here, 32-bit
# first. Fails when none can; wine_missing then says why.
stats_pick_wine() {
  if "$stats_wine32" --version >/dev/null 2>&1; then
    wine_kind=win32 wine_loader=$stats_wine32
  elif "$stats_wine64" --version >/dev/null 2>&1; then
    wine_kind=win64 wine_loader=$stats_wine64
  else
    wine_missing="neither $stats_wine32 nor $stats_wine64 can start here"
    wine_missing+=" ($("$stats_wine64" --version 2>&1 | tail -1 || true))"
    return 1
  fi
}

# stats_need_wine WHAT: stats_pick_wine for a script that cannot do without
# Wine. Where none can start it ends the script: as a failure, or with a
# NOT RUN line naming WHAT when STATS_ALLOW_NO_WINE=1.
stats_need_wine() {
  stats_pick_wine && return 0
  if [ "${STATS_ALLOW_NO_WINE:-0}" = "1" ]; then
    echo "NOT RUN (STATS_ALLOW_NO_WINE=1): $1: $wine_missing"
    exit 0
  fi
  echo "FAIL: no Wine for $1: $wine_missing" >&2
  exit 1
}

# Sets wine_kind and wine_loader for a configured Windows build folder: its
# toolchain decides the width.
stats_wine_of_build() {
  if grep -q '^CMAKE_TOOLCHAIN_FILE.*x86_64' "$1/CMakeCache.txt"; then
    wine_kind=win64 wine_loader=$stats_wine64
  else
    wine_kind=win32 wine_loader=$stats_wine32
  fi
}

# stats_wine_session COMMAND [ARGUMENTS...]
# Runs COMMAND in the current folder under the Wine that wine_kind and
# wine_loader name, in a throwaway prefix, everything inside Xvfb, and returns
# its exit status. COMMAND finds the loader in WINELOADER. It must be a
# program: shell functions do not pass through xvfb-run (for several steps,
# give bash -c '...').
stats_wine_session() (
  prefix=$(mktemp -d /tmp/stats-wine.XXXXXX)
  trap 'WINEPREFIX="$prefix" "$stats_wineserver" -k >/dev/null 2>&1 || true; rm -rf "$prefix"' EXIT
  # WINELOADER: processes Wine itself starts use the same loader.
  export WINEPREFIX="$prefix" WINEARCH="$wine_kind" WINELOADER="$wine_loader" WINEDEBUG=-all \
    WINEDLLOVERRIDES="mscoree,mshtml=" STATS_WINESERVER="$stats_wineserver"
  # Everything Wine starts must start inside the X server, or windows cannot
  # open.
  xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -e
    source "$0"
    stats_wine_session_start
    status=0
    "$@" || status=$?
    "$STATS_WINESERVER" -k >/dev/null 2>&1 || true
    exit $status
  ' "$stats_wine_lib" "$@"
)

# Inside the X server: makes the prefix (crash dialog off, so that a crash
# exits instead of hanging; unmanaged windows, so that closing a dialog does
# not wait for a window manager) and starts the session the programs run in.
stats_wine_session_start() {
  local start
  start=$(date +%s)
  timeout 300 "$WINELOADER" wineboot -i </dev/null >/dev/null 2>&1
  timeout 120 "$WINELOADER" reg add "HKCU\\Software\\Wine\\WineDbg" /v ShowCrashDialog \
    /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
  timeout 120 "$WINELOADER" reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f \
    </dev/null >/dev/null 2>&1
  # The services of the session that made the prefix stay half-working (under
  # wine64 the running object table then answers nothing), so the programs get
  # a session of their own: one server for the whole run, and the background
  # processes (services, the desktop) started here with their output going
  # nowhere. Started by a test, they would hold ctest's output pipe open and
  # ctest would wait for them until the timeout.
  timeout 120 "$STATS_WINESERVER" -w
  "$STATS_WINESERVER" -p </dev/null >/dev/null 2>&1
  timeout 120 "$WINELOADER" wineboot </dev/null >/dev/null 2>&1
  echo "wine prefix ($WINEARCH) ready in $(($(date +%s) - start)) s"
}
