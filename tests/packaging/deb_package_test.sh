#!/usr/bin/env bash
# deb_package_test.sh <build dir> <scratch dir> <version>: CPack makes korvane_<version>_<arch>.deb
# from the build tree; its control fields name the shared libraries and the font, and dpkg -x of
# it into a fresh folder gives the client (stripped, no build-tree run path), entry and icons.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
build="$1"
scratch="$2"
version="$3"

rm -rf "$scratch"
mkdir -p "$scratch"
"${CPACK_COMMAND:-cpack}" --config "$build/CPackConfig.cmake" -B "$scratch/out" \
  >"$scratch/cpack.log" 2>&1 || { cat "$scratch/cpack.log" >&2; fail "cpack failed"; }

arch="$(dpkg --print-architecture)"
deb="$scratch/out/korvane_${version}_${arch}.deb"
[ -f "$deb" ] || fail "no $(basename "$deb") among: $(ls "$scratch/out")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = korvane ] || fail "Package is $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version is $(field Version)"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is $(field Architecture)"
[ "$(field Section)" = net ] || fail "Section is $(field Section)"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ -n "$(field Description)" ] || fail "no Description"

# Package names only: versions and alternatives dropped.
depends="$(field Depends | tr ',|' '\n\n' | sed 's/(.*//; s/[[:space:]]//g' | grep -v '^$')"
for wanted in fonts-wqy-microhei 'libqt6widgets6(t64)?' 'libqt6gui6(t64)?' 'libqt6core6(t64)?' \
  'libcurl4(t64)?' 'libssl3(t64)?' 'libpng16-16(t64)?' libc6 'libstdc\+\+6'; do
  grep -Eqx "$wanted" <<<"$depends" || fail "Depends lacks $wanted: $(field Depends)"
done

dpkg -x "$deb" "$scratch/root"
check_file_set "$scratch/root" "usr/"
check_icons "$scratch/root/usr/share/icons/hicolor"
check_desktop_entry "$scratch/root/usr"

binary="$scratch/root/usr/bin/korvane"
[[ "$(file -b "$binary")" == *", stripped"* ]] || fail "korvane is not stripped: $(file -b "$binary")"
if readelf -d "$binary" | grep -E 'R(UN)?PATH'; then
  fail "korvane carries a run path"
fi
echo "deb package ok: $(basename "$deb")"
