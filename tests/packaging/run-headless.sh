#!/usr/bin/env bash
# make run without a reachable display renders the example and names the picture, whether no
# display is set at all or the one that is set cannot be reached.
set -uo pipefail
build="$1"
source="$2"
picture="$build/Beispiel.bmp"
failures=0

cases=(
  "no display|"
  "stale X display|DISPLAY=:987"
  "stale X display with screen|DISPLAY=unix:987.0"
  "missing Wayland socket|WAYLAND_DISPLAY=qel-missing-wayland-0"
)
for entry in "${cases[@]}"; do
  what="${entry%%|*}"
  settings="${entry#*|}"
  rm -f "$picture"
  # The guard only stops a wrongly started window from blocking the run.
  output=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$build" $settings \
    timeout 120 bash "$source/scripts/run-app" "$build" 2>&1)
  status=$?
  if [[ $status -ne 0 ]]; then
    echo "FAIL: $what: exit status $status"
    echo "$output"
    failures=$((failures + 1))
  elif ! grep -q -F "The picture is at $picture" <<<"$output" ||
    [[ $(head -c 2 "$picture" 2>/dev/null) != BM ]]; then
    echo "FAIL: $what: no picture named and written"
    echo "$output"
    failures=$((failures + 1))
  fi
done
rm -f "$picture"

echo "${#cases[@]} headless starts checked, $failures failures"
[[ $failures -eq 0 ]]
