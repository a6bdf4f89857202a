#!/usr/bin/env bash
# Installs what is missing (Debian 12, as root), builds, then either starts
# the program ("run"), runs every test ("test") or builds the Debian
# package billprint_VERSION_amd64.deb in the repository folder ("package";
# install it with `apt install ./billprint_*.deb`). A second run installs
# nothing and builds only what changed.
# "test --sanitize" builds the tests with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan/ and runs them there.
set -euo pipefail
mode="${1:-run}"
shift || true
sanitize=0
if [ "$mode" = test ] && [ "${1:-}" = --sanitize ]; then
  sanitize=1
  shift
fi
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-5compat-dev libgl-dev
  libfreexl-dev libopencc-dev libopencc-data libquazip1-qt6-dev zlib1g-dev libssl-dev libsqlite3-dev
  fonts-noto-cjk qt6-translations-l10n
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xauth poppler-utils
  dpkg-dev file desktop-file-utils lintian
  postgresql libqt6sql6-psql
  clang libclang-rt-14-dev
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

# The tests of the storage folders run a second time against PostgreSQL: a
# throwaway cluster in a temporary folder, on a Unix socket only, stopped
# and removed when the run ends, also when tests fail. A server named by
# BILLPRINT_TEST_PG_URL already is used instead.
start_test_cluster() {
  [ -z "${BILLPRINT_TEST_PG_URL:-}" ] || return 0
  cluster=$(mktemp -u /tmp/billprint-pg.XXXXXX)
  trap 'bash scripts/pg_cluster.sh stop "$cluster" >/dev/null 2>&1 || true' EXIT
  BILLPRINT_TEST_PG_URL=$(bash scripts/pg_cluster.sh start "$cluster")
  export BILLPRINT_TEST_PG_URL
}

# Let ccache reuse objects across checkouts in other folders.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1

if [ "$sanitize" = 1 ]; then
  # A build folder of its own: the sanitizer flags change every object.
  if [ ! -f build-asan/build.ninja ]; then
    flags="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
    # -O1 with line tables only: readable stacks, a build much shorter
    # than with full debug information.
    cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
      -DBILLPRINT_BENCH=OFF \
      -DCMAKE_CXX_FLAGS="$flags" \
      -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
  fi
  cmake --build build-asan -j"$(nproc)"
  start_test_cluster
  cd build-asan
  # Leaks are reported; only those inside the system's libraries (Qt's
  # plugins, fontconfig) are suppressed, never ours.
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=0"
  export LSAN_OPTIONS="suppressions=$PWD/../scripts/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" "$@"
  exit
fi

if [ ! -f build/build.ninja ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build build -j"$(nproc)"

case "$mode" in
  run)
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
      echo "No display found: starting on a virtual screen (xvfb-run)."
      exec xvfb-run -a build/billprint "$@"
    fi
    exec build/billprint "$@"
    ;;
  test)
    start_test_cluster
    cd build
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" "$@"
    ;;
  package)
    # CPack strips the program; dpkg-shlibdeps names the libraries it needs.
    (cd build && cpack -G DEB)
    deb=$(ls -t build/billprint_*_amd64.deb | head -n 1)
    mv -f "$deb" .
    echo "Built $(basename "$deb"): install it with  apt install ./$(basename "$deb")"
    ;;
  *)
    echo "usage: scripts/setup.sh run|test [--sanitize]|package" >&2
    exit 2
    ;;
esac
