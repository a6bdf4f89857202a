#!/usr/bin/env bash
# Installs a built package on a clean Debian 12 and uses it there as a clerk
# would:  sudo scripts/check_package.sh billprint_VERSION_amd64.deb
#
# A minimal Debian 12 root made with debootstrap in a temporary folder under
# /tmp gets only the .deb (no build tree); apt installs it with the
# dependencies from the Debian mirror, without Recommends, so Depends alone
# must be enough. A throwaway user then starts the program with and without
# --data, prints a sample bill to PDF, checks the PDF's text and fonts, and
# removes the package; the user's data must stay. Last, the desktop starts
# on a virtual X screen through Qt's xcb plugin.
#
# Needs root, debootstrap and the Debian mirror of this machine's apt
# sources (or BILLPRINT_MIRROR=URL); takes several minutes and downloads
# a few hundred MB, so it is not part of CI. One line per step; exits
# non-zero at the first failed step, with the log of that step kept.
# The root is unmounted and removed at the end, also after a failure.
set -euo pipefail

deb="${1:-}"
if [ -z "$deb" ] || [ ! -f "$deb" ]; then
  echo "usage: scripts/check_package.sh billprint_VERSION_amd64.deb" >&2
  exit 2
fi
if [ "$(id -u)" != 0 ]; then
  echo "check_package.sh: needs root (debootstrap, chroot)" >&2
  exit 2
fi
command -v debootstrap >/dev/null || { echo "check_package.sh: install debootstrap first" >&2; exit 2; }

# The mirror this machine's apt uses: the first URI ending in /debian (and
# /debian-security for the security updates, if listed).
apt_uris() {
  cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources 2>/dev/null |
    grep -v '^[[:space:]]*#' | grep -o 'https\?://[^[:space:]]*' || true
}
mirror="${BILLPRINT_MIRROR:-$(apt_uris | grep -m1 -E '/debian/?$' || true)}"
security="$(apt_uris | grep -m1 -E '/debian-security/?$' || true)"
[ -n "$mirror" ] || { echo "check_package.sh: no Debian mirror in the apt sources; set BILLPRINT_MIRROR" >&2; exit 2; }

work=$(mktemp -d /tmp/billprint-check.XXXXXX)
root="$work/root"
log="$work.log"
: >"$log"

# Processes still running inside the root (an Xvfb on its way out, apt's
# gpg-agent) keep its /dev busy: they are this check's own, so they go.
stop_processes_in_root() {
  local p
  for p in /proc/[0-9]*; do
    case "$(readlink "$p/root" 2>/dev/null)" in
      "$root" | "$root"/*) kill "${p#/proc/}" 2>/dev/null || true ;;
    esac
  done
}

unmount() {
  mountpoint -q "$1" 2>/dev/null || return 0
  for _ in 1 2 3 4 5; do
    umount "$1" 2>/dev/null && return 0
    sleep 1
  done
  # Detached now, gone when the last user lets go; nothing below it is
  # reachable from the root any more.
  umount --lazy "$1"
}

cleanup() {
  set +e
  stop_processes_in_root
  unmount "$root/dev/pts"
  unmount "$root/dev"
  unmount "$root/proc"
  # Never delete through a mount that is still there: --one-file-system and
  # the check keep the host's /dev and /proc safe.
  if grep -q " $root/" /proc/mounts; then
    echo "check_package.sh: $root still has mounts; left in place" >&2
  else
    rm -rf --one-file-system "$work"
  fi
}
trap cleanup EXIT

n=0
step() {
  local what="$1"
  shift
  n=$((n + 1))
  echo "=== $n. $what" >>"$log"
  # A subshell outside any condition ("if", "||"), where bash would ignore
  # set -e: the step stops at its first failed command.
  local failed
  set +e
  ( set -e; "$@" ) >>"$log" 2>&1
  failed=$?
  set -e
  if [ "$failed" = 0 ]; then
    printf 'ok    %2d. %s\n' "$n" "$what"
  else
    printf 'FAIL  %2d. %s  (log: %s)\n' "$n" "$what" "$log"
    tail -n 15 "$log" | sed 's/^/      /'
    exit 1
  fi
}

in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"; }
# A normal user's shell in the clerk's home, without a display.
as_clerk() {
  chroot "$root" runuser -u clerk -- env -i HOME=/home/clerk PATH=/usr/bin:/bin LANG=C.UTF-8 \
    QT_QPA_PLATFORM=offscreen sh -ec "cd; $1"
}

debootstrap_root() {
  debootstrap --variant=minbase bookworm "$root" "$mirror"
}

use_mirror() {
  {
    echo "deb $mirror bookworm main"
    echo "deb $mirror bookworm-updates main"
    [ -z "$security" ] || echo "deb $security bookworm-security main"
  } >"$root/etc/apt/sources.list"
  # A mirror snapshot's Release files may be past their Valid-Until date.
  echo 'Acquire::Check-Valid-Until "false";' >"$root/etc/apt/apt.conf.d/99check-package"
  cp /etc/resolv.conf "$root/etc/resolv.conf"
  mount -t proc proc "$root/proc"
  mount --bind /dev "$root/dev"
  mount --bind /dev/pts "$root/dev/pts"
  cp "$deb" "$root/root/"
}

no_build_tree() {
  ! find "$root" -xdev \( -name CMakeCache.txt -o -name build.ninja \) | grep -q .
}

install_package() {
  in_root apt-get update
  in_root sh -c 'cd /root && apt-get install -y --no-install-recommends ./billprint_*.deb'
  in_root dpkg -s billprint
}

# Every library of the program and of the Qt plugins it needs resolves.
libraries_resolve() {
  local qt=/usr/lib/x86_64-linux-gnu/qt6/plugins f
  for f in /usr/bin/billprint "$qt/platforms/libqxcb.so" "$qt/platforms/libqoffscreen.so" \
           "$qt/sqldrivers/libqsqlite.so" "$qt/imageformats/libqjpeg.so"; do
    [ -f "$root$f" ] || { echo "missing: $f"; return 1; }
    if in_root ldd "$f" | grep 'not found'; then return 1; fi
  done
}

version_prints() {
  local out
  out=$(as_clerk 'billprint --version')
  echo "$out"
  [ -n "$out" ]
}

start_with_data() {
  as_clerk 'billprint --data /tmp/x --quit-after-startup'
  test -s "$root/tmp/x/Data/EPData.ini"
}

print_sample_with_data() {
  as_clerk 'billprint --data /tmp/x print-sample --template 1 --pdf s.pdf'
  test -s "$root/home/clerk/s.pdf"
}

# A cheque as a picture over its form: the paper (225 x 80 mm) at 150 dpi.
png_of_cheque() {
  as_clerk 'billprint --data /tmp/x print --family 支票 --amount 1234.56 --png c.png --with-form'
  local size
  size=$(od -An -tu1 -j16 -N8 "$root/home/clerk/c.png" |
    awk '{ print $1*16777216 + $2*65536 + $3*256 + $4 "x" $5*16777216 + $6*65536 + $7*256 + $8 }')
  echo "c.png: $size"
  [ "$size" = "1329x472" ]
}

# Without --data the data goes to the user's data folder, never under /usr.
start_in_user_folder() {
  touch "$work/stamp"
  as_clerk 'billprint --quit-after-startup'
  as_clerk 'billprint print-sample --template 1 --pdf s2.pdf'
  test -s "$root/home/clerk/.local/share/HeShuo/billprint/Data/EPData.ini"
  test -s "$root/home/clerk/s2.pdf"
  ! find "$root/usr" -xdev -newer "$work/stamp" -type f | grep .
}

# The printed sample holds its amount in capitals in an embedded CJK font.
pdf_has_text() {
  in_root apt-get install -y --no-install-recommends poppler-utils
  local f
  for f in s.pdf s2.pdf; do
    in_root pdftotext "/home/clerk/$f" - | tee "$work/$f.txt"
    grep -q '壹佰贰拾捌万陆仟伍佰元整' "$work/$f.txt"
    in_root pdffonts "/home/clerk/$f" | grep -q 'CJK'
  done
}

remove_keeps_data() {
  in_root apt-get remove -y billprint
  [ ! -e "$root/usr/bin/billprint" ]
  test -s "$root/tmp/x/Data/EPData.ini"
  test -s "$root/home/clerk/.local/share/HeShuo/billprint/Data/EPData.ini"
}

reinstall_package() {
  in_root sh -c 'cd /root && apt-get install -y --no-install-recommends ./billprint_*.deb'
}

# The desktop through the xcb plugin a clerk's session uses, on a virtual
# screen (xvfb is installed only for this step).
desktop_on_x() {
  in_root apt-get install -y --no-install-recommends xvfb xauth
  chroot "$root" runuser -u clerk -- env -i HOME=/home/clerk PATH=/usr/bin:/bin LANG=C.UTF-8 \
    sh -ec 'cd; xvfb-run -a env QT_QPA_PLATFORM=xcb billprint --quit-after-startup'
}

step "debootstrap a minimal Debian 12 (bookworm) from $mirror" debootstrap_root
step "copy only $(basename "$deb") into the root, mount /proc and /dev" use_mirror
step "no build tree in the root" no_build_tree
step "apt-get install ./$(basename "$deb") (dependencies from the mirror, no Recommends)" install_package
step "the program and its Qt plugins (xcb, offscreen, sqlite, jpeg) find their libraries" libraries_resolve
step "useradd -m clerk (a normal user)" in_root useradd -m clerk
step "clerk: billprint --version" version_prints
step "clerk: billprint --data /tmp/x --quit-after-startup" start_with_data
step "clerk: billprint --data /tmp/x print-sample --template 1 --pdf s.pdf" print_sample_with_data
step "clerk: billprint print --family 支票 --amount 1234.56 --png c.png --with-form is 1329 x 472" png_of_cheque
step "clerk: without --data, data in ~/.local/share/HeShuo/billprint, nothing written under /usr" start_in_user_folder
step "the PDFs hold the sample's amount in capitals in an embedded Noto CJK font" pdf_has_text
step "apt-get remove billprint leaves /tmp/x and ~/.local/share/HeShuo/billprint" remove_keeps_data
step "apt-get install the package again" reinstall_package
step "clerk: the desktop starts on X (xvfb-run, xcb plugin) and quits" desktop_on_x
echo "All $n steps passed (log: $log)."
