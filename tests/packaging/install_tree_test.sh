#!/usr/bin/env bash
# install_tree_test.sh <build dir> <scratch dir>: cmake --install into a fresh prefix holds the
# client, its desktop entry and every icon size, and nothing else.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
build="$1"
prefix="$2/prefix"

rm -rf "$2"
mkdir -p "$2"
"${CMAKE_COMMAND:-cmake}" --install "$build" --prefix "$prefix" >"$2/install.log" 2>&1 ||
  { cat "$2/install.log" >&2; fail "cmake --install failed"; }

check_file_set "$prefix" ""
[ -x "$prefix/bin/korvane" ] || fail "bin/korvane is not executable"
check_icons "$prefix/share/icons/hicolor"
check_desktop_entry "$prefix"
echo "install tree ok"
