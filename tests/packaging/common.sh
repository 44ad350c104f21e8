# Shared by the packaging tests: failure reporting and the file set an install must hold.
set -euo pipefail

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

icon_sizes=(16 24 32 48 64 128 256 512)

# Every file an install puts under its prefix, relative to it, sorted.
expected_files() {
  {
    echo bin/korvane
    echo share/applications/korvane.desktop
    echo share/icons/hicolor/scalable/apps/korvane.svg
    for n in "${icon_sizes[@]}"; do
      echo "share/icons/hicolor/${n}x${n}/apps/korvane.png"
    done
  } | LC_ALL=C sort
}

# Fails unless <root> holds exactly the expected files under <prefix> ("" or "usr/").
check_file_set() {
  local root="$1" prefix="$2" actual expected
  actual="$(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)"
  expected="$(expected_files | sed "s|^|$prefix|")"
  if [ "$actual" != "$expected" ]; then
    diff <(echo "$expected") <(echo "$actual") >&2 || true
    fail "$root does not hold exactly the expected files (- missing, + unexpected)"
  fi
}

# Every icon must be a PNG of the size its folder names, the drawing an SVG.
check_icons() {
  local icons="$1" n info
  for n in "${icon_sizes[@]}"; do
    info="$(file -b "$icons/${n}x${n}/apps/korvane.png")"
    [[ "$info" == "PNG image data, $n x $n,"* ]] || fail "${n}x${n} icon is: $info"
  done
  info="$(file -b "$icons/scalable/apps/korvane.svg")"
  [[ "$info" == "SVG Scalable Vector Graphics image"* ]] || fail "scalable icon is: $info"
}

# The entry must validate and name a command and an icon that the same tree holds.
check_desktop_entry() {
  local root="$1" entry="$1/share/applications/korvane.desktop" exec icon
  desktop-file-validate "$entry" || fail "desktop-file-validate rejects $entry"
  exec="$(sed -n 's/^Exec=//p' "$entry")"
  icon="$(sed -n 's/^Icon=//p' "$entry")"
  [ -x "$root/bin/$exec" ] || fail "Exec=$exec is not an executable in $root/bin"
  [ -f "$root/share/icons/hicolor/48x48/apps/$icon.png" ] || fail "Icon=$icon is not installed"
}
