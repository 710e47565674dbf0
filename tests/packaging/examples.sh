#!/usr/bin/env bash
# Every example project is a well-formed project file, and renders and tables without a message
# under either decimal separator.
set -uo pipefail
qelcli="$1"
examples="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# Runs qelcli; fails on a non-zero status or any message on standard error.
quiet_run() {
  local what="$1"
  shift
  "$qelcli" "$@" >"$work/out" 2>"$work/err"
  local status=$?
  if [[ $status -ne 0 ]]; then
    fail "$what: exit status $status: $(cat "$work/err")"
  elif [[ -s "$work/err" ]]; then
    fail "$what: message: $(cat "$work/err")"
  fi
}

# 27 + 14 n lines, each ending in CR LF, header and reserved lines in place; sets `count` to n.
check_layout() {
  local file="$1" name="$2"
  local bytes lines
  bytes=$(wc -c <"$file")
  lines=$(grep -c $'\r$' "$file")
  count=0
  [[ $(tail -c 2 "$file" | od -An -c | tr -d ' ') == '\r\n' ]] || fail "$name: last line lacks CR LF"
  [[ $(tr -cd '\n' <"$file" | wc -c) -eq $lines ]] || fail "$name: a line lacks its CR"
  [[ $(tr -d '\r' <"$file" | wc -c) -eq $((bytes - lines)) ]] || fail "$name: a stray CR"
  [[ $(sed -n 1p "$file") == $'Qel Graphics 4.1 File\r' ]] || fail "$name: header line"
  [[ $(sed -n 17p "$file") == $'XXX01\r' && $(sed -n 26p "$file") == $'XXX10\r' ]] ||
    fail "$name: reserved settings lines"
  local n
  n=$(sed -n 27p "$file" | tr -d '\r')
  if [[ ! "$n" =~ ^[1-9][0-9]*$ ]]; then
    fail "$name: function count '$n'"
    return
  fi
  [[ $lines -eq $((27 + 14 * n)) ]] || fail "$name: $lines lines for $n functions"
  count=$n
}

shopt -s nullglob
projects=("$examples"/*.qgp)
[[ ${#projects[@]} -ge 5 ]] || fail "expected at least five example projects, found ${#projects[@]}"
[[ -f "$examples/Beispiel.qgp" ]] || fail "Beispiel.qgp, which make run renders, is missing"

for project in "${projects[@]}"; do
  name=$(basename "$project")
  check_layout "$project" "$name"
  for separator in . ,; do
    picture="$work/picture.bmp"
    quiet_run "$name render (separator $separator)" render --separator "$separator" "$project" "$picture"
    [[ $(head -c 2 "$picture" 2>/dev/null) == BM ]] || fail "$name: no BMP written (separator $separator)"
    rm -f "$picture"
    for ((k = 1; k <= count; k++)); do
      quiet_run "$name table $k (separator $separator)" \
        table --separator "$separator" --function "$k" "$project"
      [[ $(wc -l <"$work/out") -ge 2 ]] || fail "$name table $k: no rows (separator $separator)"
    done
  done
done

echo "${#projects[@]} example projects checked, $failures failures"
[[ $failures -eq 0 ]]
