# Sourced by scripts/fuzz and scripts/fuzz-long: configures and builds the libFuzzer targets
# with clang in build/fuzz (ASan, UBSan) and sets $fuzz_build and $fuzz_targets (the names
# without the fuzz_ prefix, as the folders of fuzz/corpus are named). Run from the tree's top.
fuzz_build=build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$fuzz_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTAVRINO_FUZZ=ON -DTAVRINO_GUI=OFF -DTAVRINO_TESTS=OFF -DTAVRINO_BENCH=OFF >/dev/null
fuzz_targets=$(cd "$fuzz_build" && ninja -t targets all |
  sed -n 's/^fuzz_\([A-Za-z0-9_]*\): phony$/\1/p' | sort -u)
if [[ -z "$fuzz_targets" ]]; then
  echo "no fuzz targets" >&2
  exit 1
fi
cmake --build "$fuzz_build" --target $(printf 'fuzz_%s ' $fuzz_targets)
