# The native test host's transcript, which every Windows run of the test host
# must equal byte for byte. Sourced after configure.sh; run from the top of
# the tree.
#   stats_native_transcript OUT   (NATIVE_BUILD: native build folder, default build/native)
stats_native_transcript() {
  local native=${NATIVE_BUILD:-build/native} top work
  top=$(pwd)
  [ -f "$native/CMakeCache.txt" ] || stats_configure "$native"
  cmake --build "$native" -j2 --target stats_host Stats >/dev/null
  # The host works in a folder of its own below the current one.
  work=$(mktemp -d /tmp/stats-host-native.XXXXXX)
  (cd "$work" && "$top/$native/tests/host/stats_host" "$top/$native/libStats.so" "$1")
  rm -rf "$work"
}
