#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what lands there: exactly the expected
# files, icons of the sizes their folders name, a MIME definition that maps *.qgp, a help file where
# the program looks for it, a desktop entry that the desktop picks for projects, and a manual page
# that documents everything qelcli --help lists.
set -uo pipefail
build="$1"
source="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
failures=0
id=de.qelgraphics.QelGraphics

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

if ! cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
  cat "$work/install.log"
  echo "FAIL: cmake --install"
  exit 1
fi

icon_sizes=(16 22 24 32 48 64 128 256)
{
  echo bin/qelcli
  echo bin/qelgraphics
  echo lib/qelgraphics/qel_vector_writer.so
  echo "share/applications/$id.desktop"
  for size in "${icon_sizes[@]}"; do echo "share/icons/hicolor/${size}x${size}/apps/$id.png"; done
  echo "share/icons/hicolor/scalable/apps/$id.svg"
  echo share/doc/qelgraphics/changelog.gz
  echo share/doc/qelgraphics/copyright
  echo share/man/man1/qelcli.1.gz
  echo share/man/man1/qelgraphics.1.gz
  echo "share/metainfo/$id.metainfo.xml"
  echo "share/mime/packages/$id.xml"
  echo share/qelgraphics/Riruvedo32.hlp
  echo share/qelgraphics/Riruvedo32.html
  for example in "$source"/resources/examples/*.qgp; do
    echo "share/qelgraphics/examples/$(basename "$example")"
  done
} | LC_ALL=C sort >"$work/expected"
(cd "$prefix" && find . -type f -printf '%P\n' | LC_ALL=C sort) >"$work/installed"
if ! diff -u "$work/expected" "$work/installed"; then
  fail "installed files differ from the expected list (- expected, + installed)"
fi

for program in qelcli qelgraphics; do
  [[ -x "$prefix/bin/$program" ]] || fail "bin/$program is not executable"
done

# PNG width and height are the big-endian words at bytes 16 and 20.
for size in "${icon_sizes[@]}"; do
  png="$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
  [[ -f "$png" ]] || continue
  read -r w0 w1 w2 w3 h0 h1 h2 h3 < <(od -An -tu1 -j16 -N8 "$png")
  width=$(((w0 << 24) | (w1 << 16) | (w2 << 8) | w3))
  height=$(((h0 << 24) | (h1 << 16) | (h2 << 8) | h3))
  [[ $width -eq $size && $height -eq $size ]] || fail "icon ${size}x${size} is ${width}x${height}"
done

# The installed qelcli finds its vector writer module as ../lib/qelgraphics beside its folder.
"$prefix/bin/qelcli" render "$source/resources/examples/Beispiel.qgp" "$work/example.svg" \
  >/dev/null 2>&1 || true
head -c 5 "$work/example.svg" 2>/dev/null | grep -q '<?xml' || fail "the installed qelcli writes no SVG"

# The program resolves its help as ../share/qelgraphics beside its own folder.
[[ -f "$prefix/bin/../share/qelgraphics/Riruvedo32.hlp" ]] || fail "help file not beside the program"

mime="$prefix/share/mime"
if update-mime-database "$mime" >/dev/null 2>&1; then
  grep -q "application/x-qel-graphics-project:\*\.qgp" "$mime/globs2" 2>/dev/null ||
    fail "the MIME database does not map *.qgp"
else
  fail "update-mime-database rejects the MIME definition"
fi

# File managers open projects with the entry: it takes the files and names the project type, and
# after update-desktop-database the desktop's default lookup picks it for that type.
entry="$prefix/share/applications/$id.desktop"
grep -q -x 'Exec=qelgraphics %F' "$entry" || fail "the installed entry does not pass the files (%F)"
grep -q -x 'MimeType=application/x-qel-graphics-project;' "$entry" ||
  fail "the installed entry does not name the project type"
if update-desktop-database "$prefix/share/applications" >/dev/null 2>&1; then
  default=$(env -i PATH="$PATH" HOME="$work/home" XDG_DATA_HOME="$work/data" \
    XDG_CONFIG_HOME="$work/config" XDG_CONFIG_DIRS="$work/config-dirs" \
    XDG_DATA_DIRS="$prefix/share" xdg-mime query default application/x-qel-graphics-project)
  [[ "$default" == "$id.desktop" ]] || fail "xdg-mime picks '$default' for projects, not $id.desktop"
else
  fail "update-desktop-database rejects the installed entry"
fi

if help=$("$prefix/bin/qelcli" --help); then
  man_text=$(LC_ALL=C MANWIDTH=200 man -l "$prefix/share/man/man1/qelcli.1.gz" 2>/dev/null)
  for word in $(grep -o -E -- '--[a-z-]+|qelcli [a-z]+' <<<"$help" | sed 's/^qelcli //' | sort -u); do
    grep -q -F -- "$word" <<<"$man_text" || fail "the manual page does not mention $word"
  done
  # The exit statuses --help lists are the ones the manual page lists.
  help_statuses=$(sed -n '/^exit status:/,$p' <<<"$help" | grep -o -E '^  [0-9]+' | tr -d ' ' | xargs)
  man_statuses=$(sed -n '/^EXIT STATUS/,/^[A-Z]/p' <<<"$man_text" | grep -o -E '^ {7}[0-9]+ ' |
    tr -d ' ' | xargs)
  [[ -n $help_statuses && $help_statuses == "$man_statuses" ]] ||
    fail "exit statuses: --help lists '$help_statuses', the manual page '$man_statuses'"
else
  fail "installed qelcli --help fails"
fi

echo "install into a temporary prefix checked, $failures failures"
[[ $failures -eq 0 ]]
