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
grep -q -x 'Exec=qelgraphics' "$packaging/$id.desktop" || {
  echo "FAIL: the entry must start qelgraphics without arguments"
  failures=$((failures + 1))
}
check "metainfo" appstreamcli validate --no-net "$packaging/$id.metainfo.xml"
check "MIME definition" xmllint --noout "$packaging/$id.mime.xml"
check "manual page" bash -c "LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
  man --warnings -E UTF-8 -l -Tutf8 -Z '$packaging/qelcli.1' 2>&1 >/dev/null | (! grep .)"

echo "packaging files validated, $failures failures"
[[ $failures -eq 0 ]]
