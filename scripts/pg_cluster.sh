#!/usr/bin/env bash
# A throwaway PostgreSQL cluster for tests, reachable only through a Unix
# socket in a folder of its own (no TCP port is opened).
#
#   scripts/pg_cluster.sh start DIR   creates and starts the cluster in DIR,
#                                     prints its connection URL
#   scripts/pg_cluster.sh stop DIR    stops it and removes DIR
#
# PostgreSQL refuses to run as root: run as root, the cluster belongs to the
# system user billprint-pg (created when missing). Everyone on the machine
# who may open DIR may connect (trust on the socket): for tests only.
set -euo pipefail

usage() {
  echo "usage: $0 start DIR | stop DIR" >&2
  exit 2
}
[ $# -eq 2 ] || usage
action="$1"
dir="$2"
marker=".billprint-pg-cluster"
cluster_user=billprint-pg

bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1 || true)
if [ -z "$bindir" ] || [ ! -x "$bindir/initdb" ]; then
  echo "$0: PostgreSQL is not installed (no /usr/lib/postgresql/*/bin/initdb)" >&2
  exit 1
fi

owner() {
  if [ "$(id -u)" -eq 0 ]; then echo "$cluster_user"; else id -un; fi
}

# Runs a PostgreSQL program as the cluster's owner.
as_owner() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u "$cluster_user" -- "$@"
  else
    "$@"
  fi
}

ensure_owner_exists() {
  [ "$(id -u)" -eq 0 ] || return 0
  id -u "$cluster_user" >/dev/null 2>&1 \
    || useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$cluster_user"
}

start() {
  case "$dir" in
    *[[:space:]\'\"\\]*) echo "$0: the folder name must not hold blanks or quotes: $dir" >&2; exit 2 ;;
  esac
  mkdir -p "$dir"
  dir=$(cd "$dir" && pwd)
  if [ -n "$(ls -A "$dir")" ]; then
    echo "$0: $dir is not empty" >&2
    exit 1
  fi
  # The socket's path must fit a socket address (107 bytes).
  if [ $(( ${#dir} + 16 )) -gt 107 ]; then
    echo "$0: the folder path is too long for a socket: $dir" >&2
    exit 1
  fi
  ensure_owner_exists
  local user
  user=$(owner)
  touch "$dir/$marker"
  chown "$user" "$dir"
  if ! as_owner test -w "$dir"; then
    echo "$0: $user cannot reach $dir (a parent folder is closed to it)" >&2
    exit 1
  fi
  as_owner "$bindir/initdb" --pgdata="$dir/data" --username="$user" --auth=trust \
    --encoding=UTF8 --locale=C.UTF-8 >"$dir/initdb.log"
  # Socket only, in DIR; a throwaway cluster need not survive a power cut.
  cat >>"$dir/data/postgresql.conf" <<CONF
listen_addresses = ''
unix_socket_directories = '$dir'
fsync = off
CONF
  as_owner "$bindir/pg_ctl" --pgdata="$dir/data" --log="$dir/server.log" --wait start >/dev/null
  echo "postgresql://$user@/postgres?host=$dir"
}

stop() {
  if [ ! -f "$dir/$marker" ]; then
    echo "$0: $dir holds no cluster this script started" >&2
    exit 1
  fi
  if [ -f "$dir/data/postmaster.pid" ]; then
    as_owner "$bindir/pg_ctl" --pgdata="$dir/data" --mode=fast --wait stop >/dev/null
  fi
  rm -rf -- "$dir"
}

case "$action" in
  start) start ;;
  stop) stop ;;
  *) usage ;;
esac
