#!/usr/bin/env bash
# Installs what is missing (Debian 12, as root), builds, then either starts
# the program ("run") or runs every test ("test"). A second run installs
# nothing and builds only what changed.
set -euo pipefail
mode="${1:-run}"
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-5compat-dev libgl-dev
  libfreexl-dev libquazip1-qt6-dev zlib1g-dev libssl-dev libsqlite3-dev
  fonts-noto-cjk qt6-translations-l10n
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xauth poppler-utils
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi

# Let ccache reuse objects across checkouts in other folders.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1

if [ ! -f build/build.ninja ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build build -j"$(nproc)"

case "$mode" in
  run)
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
      echo "No display found: starting on a virtual screen (xvfb-run)."
      exec xvfb-run -a build/billprint "${@:2}"
    fi
    exec build/billprint "${@:2}"
    ;;
  test)
    cd build
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" "${@:2}"
    ;;
  *)
    echo "usage: scripts/setup.sh run|test" >&2
    exit 2
    ;;
esac
