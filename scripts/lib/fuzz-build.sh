# Sourced by scripts/fuzz and scripts/fuzz-long: configures and builds the libFuzzer targets
# with clang in build/fuzz (ASan, UBSan) and sets $fuzz_build and $fuzz_targets (the names
# without the fuzz_ prefix, as the folders of fuzz/corpus are named). Run from the tree's top.
fuzz_build=build/fuzz
# Leaks that are the libraries' own, not ours, would otherwise end every turn that meets one.
export LSAN_OPTIONS="suppressions=$PWD/fuzz/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
# The sanitizer options of a target's run. A suppression names a function of the library, and
# glib is built without frame pointers, so the fast unwinder stops at g_malloc: the targets that
# reach libgsf's OLE reader take the slow, full unwind (about six times fewer runs a second).
fuzz_asan_options() {
  case $1 in
    hwp5_compound | hwp5_document) echo "fast_unwind_on_malloc=0" ;;
  esac
}
CC=clang CXX=clang++ cmake -S . -B "$fuzz_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTAVRINO_FUZZ=ON -DTAVRINO_GUI=OFF -DTAVRINO_TESTS=OFF -DTAVRINO_BENCH=OFF >/dev/null
fuzz_targets=$(cd "$fuzz_build" && ninja -t targets all |
  sed -n 's/^fuzz_\([A-Za-z0-9_]*\): phony$/\1/p' | sort -u)
if [[ -z "$fuzz_targets" ]]; then
  echo "no fuzz targets" >&2
  exit 1
fi
cmake --build "$fuzz_build" --target $(printf 'fuzz_%s ' $fuzz_targets)
