#!/usr/bin/env bash
# A separate project uses the libraries three ways, with warnings as errors: the installed
# CMake package, the pkg-config file, and add_subdirectory of the source tree. The install
# reuses this build's libraries; the add_subdirectory tree builds the libraries anew inside the
# consumer's tree.
# Usage: consumer_test.sh BUILD_DIR SOURCE_DIR WORK_DIR
set -euo pipefail
build=$(cd "$1" && pwd) source=$(cd "$2" && pwd) work=$3
rm -rf "$work" && mkdir -p "$work"
strict="-Wall -Wextra -Werror"
cmake --install "$build" --prefix "$work/install" >/dev/null
libdir="$work/install/lib"

cmake -S "$source/examples/cpp" -B "$work/package" -G Ninja -DCMAKE_PREFIX_PATH="$work/install" \
  -DCMAKE_CXX_FLAGS="$strict" >/dev/null
cmake --build "$work/package" >/dev/null
LD_LIBRARY_PATH="$libdir" "$work/package/storyloom_consumer"

export PKG_CONFIG_PATH="$libdir/pkgconfig"
read -r -a cflags <<< "$(pkg-config --cflags storyloom)"
if [[ ${#cflags[@]} -ne 1 || $(realpath -m "${cflags[0]#-I}") != "$work/install/include" ]]; then
  echo "pkg-config gives other compile flags than the one include root: ${cflags[*]}" >&2
  exit 1
fi
c++ -std=c++17 $strict "$source/examples/cpp/main.cpp" $(pkg-config --cflags --libs storyloom) -o "$work/plain"
LD_LIBRARY_PATH="$libdir" "$work/plain"

cmake -S "$source/examples/cpp" -B "$work/subdirectory" -G Ninja -DSTORYLOOM_SOURCE_DIR="$source" \
  -DCMAKE_CXX_FLAGS="$strict" >/dev/null
cmake --build "$work/subdirectory" --target storyloom_consumer >/dev/null
"$work/subdirectory/storyloom_consumer"
cmake --install "$work/subdirectory" --prefix "$work/subdirectory-install" >/dev/null
if [[ -e "$work/subdirectory-install" ]]; then
  echo "a tree that adds the project with add_subdirectory installs its files" >&2
  exit 1
fi

# A multiarch library folder, as a Debian install has it: the pkg-config file finds its prefix.
cmake -S "$source" -B "$work/multiarch" -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_LIBDIR=lib/x86_64-linux-gnu \
  -DSTORYLOOM_TESTS=OFF -DSTORYLOOM_BENCH=OFF >/dev/null
moved="$work/moved/lib/x86_64-linux-gnu/pkgconfig"
mkdir -p "$moved" && cp "$work/multiarch/storyloom.pc" "$moved/"
includedir=$(PKG_CONFIG_PATH="$moved" pkg-config --variable=includedir storyloom)
if [[ $(realpath -m "$includedir") != "$work/moved/include" ]]; then
  echo "with lib/x86_64-linux-gnu the pkg-config file puts the headers at $includedir" >&2
  exit 1
fi
echo "the consumer builds against the package, pkg-config and add_subdirectory"
