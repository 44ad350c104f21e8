#!/usr/bin/env bash
# desktop_entry_test.sh <korvane.desktop>: the source entry validates and names what we ship.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
entry="$1"

desktop-file-validate "$entry" || fail "desktop-file-validate rejects $entry"

value() { sed -n "s/^$1=//p" "$entry"; }
[ "$(value Type)" = Application ] || fail "Type is not Application"
[ "$(value Exec)" = korvane ] || fail "Exec is not the korvane binary"
[ "$(value Icon)" = korvane ] || fail "Icon is not the korvane icon name"
[ "$(value Terminal)" = false ] || fail "Terminal is not false"
# Qt names the window class after the binary, so docks match windows to this entry by it.
[ "$(value StartupWMClass)" = korvane ] || fail "StartupWMClass does not match the binary"
[[ "$(value Categories)" == *"Network;"* ]] || fail "Categories lacks Network"
echo "desktop entry ok"
