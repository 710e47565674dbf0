#!/usr/bin/env bash
# Builds the Debian package from the build tree and checks it: lintian finds no error, and where it
# is safe it installs with apt-get, both programs answer --version from /usr/bin, and removing it
# leaves no file behind. Safe means root, CI=true or QEL_TEST_PACKAGE_INSTALL=1, and no
# qelgraphics package installed already (it would be replaced and then removed).
set -uo pipefail
build="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  echo "FAIL: cpack"
  exit 1
fi
deb=$(ls "$work"/*.deb)
[[ $(dpkg-deb -f "$deb" Depends) == *libqt6widgets6* ]] || fail "the package does not depend on Qt"
if command -v lintian >/dev/null; then
  lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1 || fail "lintian finds errors"
  grep -v "root privileges" "$work/lintian.log"
else
  fail "lintian is missing (scripts/install-deps installs it)"
fi

if [[ $(id -u) -ne 0 || ("${CI:-}" != true && "${QEL_TEST_PACKAGE_INSTALL:-}" != 1) ]]; then
  echo "install and removal skipped: they need root and CI=true or QEL_TEST_PACKAGE_INSTALL=1"
elif dpkg-query -W -f='${Status}' qelgraphics 2>/dev/null | grep -q "ok installed"; then
  echo "install and removal skipped: a qelgraphics package is installed already"
else
  ours() { find /usr /etc /var/lib/dpkg/info -xdev -iname '*qelgraphics*' 2>/dev/null | sort; }
  ours >"$work/before"
  # No waiting for the disk: the package is gone again a moment later.
  export DEBIAN_FRONTEND=noninteractive PKGSYSTEM_ENABLE_FSYNC=0
  quick=(-y -qq -o Dpkg::Options::=--force-unsafe-io)
  if apt-get install "${quick[@]}" --no-install-recommends "$deb" >"$work/apt.log" 2>&1; then
    dpkg-query -L qelgraphics >"$work/files"
    /usr/bin/qelcli --version | grep -q "4.2" || fail "the installed qelcli --version"
    /usr/bin/qelgraphics --version | grep -q "Qel Graphics 4.2" ||
      fail "the installed qelgraphics --version"
    apt-get purge "${quick[@]}" qelgraphics >>"$work/apt.log" 2>&1 || fail "apt-get purge"
    while read -r path; do
      [[ -d "$path" || ! -e "$path" ]] || fail "left behind: $path"
    done <"$work/files"
    ours | diff -u "$work/before" - || fail "files named after the package remain"
  else
    cat "$work/apt.log"
    fail "apt-get install"
  fi
fi

echo "Debian package checked, $failures failures"
[[ $failures -eq 0 ]]
