#!/usr/bin/env bash
# A separate project uses the libraries three ways: the installed CMake package, the
# pkg-config file, and add_subdirectory of the source tree. The install reuses this build's
# libraries; the add_subdirectory tree builds the libraries anew inside the consumer's tree.
# Usage: consumer_test.sh BUILD_DIR SOURCE_DIR WORK_DIR
set -euo pipefail
build=$(cd "$1" && pwd) source=$(cd "$2" && pwd) work=$3
rm -rf "$work" && mkdir -p "$work"
cmake --install "$build" --prefix "$work/install" >/dev/null

cmake -S "$source/examples/cpp" -B "$work/package" -G Ninja -DCMAKE_PREFIX_PATH="$work/install" >/dev/null
cmake --build "$work/package" >/dev/null
"$work/package/storyloom_consumer"

export PKG_CONFIG_PATH="$work/install/lib/pkgconfig"
c++ "$source/examples/cpp/main.cpp" $(pkg-config --cflags --libs storyloom) -o "$work/plain"
"$work/plain"

cmake -S "$source/examples/cpp" -B "$work/subdirectory" -G Ninja -DSTORYLOOM_SOURCE_DIR="$source" >/dev/null
cmake --build "$work/subdirectory" --target storyloom_consumer >/dev/null
"$work/subdirectory/storyloom_consumer"
echo "the consumer builds against the package, pkg-config and add_subdirectory"
