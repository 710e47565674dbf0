#!/usr/bin/env bash
# The desktop entry, AppStream metainfo, MIME definition and manual page pass their validators.
set -uo pipefail
packaging="$1/packaging"
id=de.qelgraphics.QelGraphics
failures=0

check() {
  local what="$1"
  shift
  local output
  if ! output=$("$@" 2>&1); then
    echo "FAIL: $what"
    echo "$output"
    failures=$((failures + 1))
  fi
}

# desktop-file-validate exits 0 on mere hints; those are worth fixing too.
check "desktop entry" desktop-file-validate "$packaging/$id.desktop"
if [[ -n $(desktop-file-validate "$packaging/$id.desktop" 2>&1) ]]; then
  echo "FAIL: desktop entry has hints"
  desktop-file-validate "$packaging/$id.desktop"
  failures=$((failures + 1))
fi
# File managers hand the chosen projects over as arguments and offer the entry for the project type.
grep -q -x 'Exec=qelgraphics %F' "$packaging/$id.desktop" || {
  echo "FAIL: the entry must start qelgraphics with the chosen files (%F)"
  failures=$((failures + 1))
}
type=$(grep -o 'mime-type type="[^"]*"' "$packaging/$id.mime.xml" | cut -d'"' -f2)
grep -q -x "MimeType=$type;" "$packaging/$id.desktop" || {
  echo "FAIL: the entry does not name the project type $type"
  failures=$((failures + 1))
}
check "metainfo" appstreamcli validate --no-net "$packaging/$id.metainfo.xml"
check "MIME definition" xmllint --noout "$packaging/$id.mime.xml"
for page in qelcli.1 qelgraphics.1; do
  check "manual page $page" bash -c "LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
    man --warnings -E UTF-8 -l -Tutf8 -Z '$packaging/$page' 2>&1 >/dev/null | (! grep .)"
done

echo "packaging files validated, $failures failures"
[[ $failures -eq 0 ]]
