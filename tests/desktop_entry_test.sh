#!/usr/bin/env bash
# The desktop entry as scripts/run installs it, checked by the desktop's own
# validator, and the program's terminal answers, given without any display.
#   desktop_entry_test.sh SOURCE_DIR PROGRAM
set -euo pipefail
root="$1"
program="$2"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/lib/my \$dir"
prefix="$tmp/lib/my \$dir"
cp "$program" "$prefix/tavrin"
XDG_DATA_HOME="$tmp/share" "$root/scripts/install-desktop-entry" "$prefix" >/dev/null
entry="$tmp/share/applications/tavrin.desktop"
fail() { echo "FAIL: $*"; exit 1; }
[ -f "$entry" ] || fail "no desktop entry"
[ -f "$tmp/share/icons/hicolor/128x128/apps/tavrin.png" ] || fail "no icon"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$entry" || fail "desktop-file-validate"
else
    echo "desktop-file-validate not installed: validation skipped"
fi
grep -qx 'Name\[zh_CN\]=Tavrin 记账' "$entry" || fail "no Chinese name"
grep -qx 'Categories=Office;Finance;' "$entry" || fail "categories"
grep -qxF "Exec=\"$tmp/lib/my \\\$dir/tavrin\"" "$entry" || fail "Exec: $(grep ^Exec "$entry")"
grep -qxF "Path=$prefix" "$entry" || fail "Path"
# The Exec line, read back as a desktop reads it, names the installed program.
exec_path=$(sed -n 's/^Exec="\(.*\)"$/\1/p' "$entry" | sed -e 's/\\\(.\)/\1/g')
[ "$exec_path" = "$prefix/tavrin" ] || fail "Exec reads back as $exec_path"

# --version and --help answer without a display and without making data files.
version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/tavrin" --version)
[[ "$version" =~ ^Tavrin\ [0-9]+\.[0-9]+ ]] || fail "--version said: $version"
help=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/tavrin" --help)
grep -q -- "--version" <<<"$help" || fail "--help said: $help"
grep -qF "$prefix" <<<"$help" || fail "--help does not name the data directory"
[ -z "$(find "$prefix" -name '*.edb')" ] || fail "data files were made"
echo "desktop entry and terminal answers: ok"
