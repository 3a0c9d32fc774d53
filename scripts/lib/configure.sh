# Configures a build folder the one way every script does: Ninja, the build
# type RelWithDebInfo unless an argument names another, and for the Windows
# builds the mingw-w64 toolchain of their width. Sourced by the scripts; run
# from the top of the tree.
#   stats_configure FOLDER [native|win32|win64] [cmake -D arguments...]
# CC/CXX in the environment pick the native compilers (the sanitizer builds
# use clang). A folder keeps the toolchain it was first configured with.
stats_configure() {
  local folder=${1:?usage: stats_configure FOLDER [native|win32|win64] [cmake arguments]}
  local kind=${2:-native}
  shift $(($# < 2 ? $# : 2))
  local args=(-S . -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo)
  case $kind in
    native) ;;
    win32) args+=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake) ;;
    win64) args+=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake) ;;
    *)
      echo "stats_configure: $kind is not a build kind (native, win32, win64)" >&2
      return 1
      ;;
  esac
  # A later -D of the same name wins, so the caller's build type overrides.
  cmake "${args[@]}" "$@" >/dev/null
}
