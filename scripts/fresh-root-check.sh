#!/usr/bin/env bash
# Runs `make test` as a new user would: in a minimal Debian 12 root made with debootstrap, with
# only make and git added, on a clone of this checkout's HEAD. An install step missing from
# scripts/setup.sh or scripts/packages.txt fails here before a user meets it. Run it by hand, as
# root, when the package list or the set-up changed (it takes as long as a cold make test).
#
#   scripts/fresh-root-check.sh [root folder]      (default /var/tmp/pelto-fresh-root)
#
# DEBIAN_MIRROR picks the mirror (default: the first of this machine's apt sources). KEEP_ROOT=1
# keeps the root afterwards; JOBS is passed to make; GOAL=fuzz runs `make fuzz` (set-up and the
# clang fuzz build only) in place of `make test`. The output is also written to <root folder>.log.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
root=${1:-/var/tmp/pelto-fresh-root}
[ "$(id -u)" -eq 0 ] || {
  echo "fresh-root-check: run as root (debootstrap and chroot need it)" >&2
  exit 1
}
command -v debootstrap >/dev/null || {
  echo "fresh-root-check: installing debootstrap"
  apt-get install -y -qq --no-install-recommends debootstrap >/dev/null
}
mirror=${DEBIAN_MIRROR:-$(sed -n 's/^URIs: *\([^ ]*\).*/\1/p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n1)}
mirror=${mirror:-http://deb.debian.org/debian}
log=$root.log

mounted=()
cleanup() {
  local status=$?
  set +e
  # Whatever the tests left running in the root goes first, then its mounts, innermost first.
  for pid in $(ls /proc | grep -E '^[0-9]+$'); do
    if [ "$(readlink "/proc/$pid/root" 2>/dev/null)" = "$root" ]; then kill -9 "$pid" 2>/dev/null; fi
  done
  sleep 1
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount "${mounted[$i]}" 2>/dev/null || umount -l "${mounted[$i]}"
  done
  if [ -z "${KEEP_ROOT:-}" ] && [ -d "$root" ]; then
    # Only with every mount gone: never remove through a bind mount.
    if ! grep -q " $root/" /proc/mounts; then rm -rf "$root"; fi
  fi
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

mount_in() {  # type (or bind) source target [options]
  mkdir -p "$root$3"
  if [ "$1" = bind ]; then
    mount --bind "$2" "$root$3"
  else
    mount -t "$1" ${4:+-o "$4"} "$2" "$root$3"
  fi
  mounted+=("$root$3")
}

if [ -e "$root" ]; then
  echo "fresh-root-check: $root is in the way (a root of an earlier run?); remove it first" >&2
  trap - EXIT
  exit 1
fi
echo "fresh-root-check: debootstrap bookworm into $root from $mirror"
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 || {
  tail -n 20 "$root.debootstrap.log"
  exit 1
}
# The root's mounts: processes, devices, shared memory for PostgreSQL, a private /tmp.
mount_in proc proc /proc
mount_in sysfs sys /sys
# debootstrap made the root's own device nodes; terminals get an instance of their own.
[ -c "$root/dev/null" ] || mount_in bind /dev /dev
mount_in devpts devpts /dev/pts newinstance,ptmxmode=0666,mode=620,gid=5
mount_in tmpfs shm /dev/shm mode=1777
mount_in tmpfs tmp /tmp mode=1777
cp /etc/resolv.conf "$root/etc/resolv.conf"
# Packages install without starting services (nothing runs them in a root).
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod +x "$root/usr/sbin/policy-rc.d"

in_root() {
  chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    TERM=dumb DEBIAN_FRONTEND=noninteractive "$@"
}
echo "fresh-root-check: adding make and git"
in_root apt-get update -qq
in_root apt-get install -y -qq --no-install-recommends make git >/dev/null

echo "fresh-root-check: cloning $(git -C "$top" rev-parse --short HEAD)"
git clone -q --no-hardlinks "$top" "$root/root/pelto"
git -C "$root/root/pelto" checkout -q "$(git -C "$top" rev-parse HEAD)"

goal=${GOAL:-test}
echo "fresh-root-check: make $goal (output in $log)"
set +e
in_root /bin/bash -c "cd /root/pelto && time make $goal ${JOBS:+JOBS=$JOBS}" >"$log" 2>&1
status=$?
set -e
tail -n 25 "$log"
# The builds' logs, for scripts/build-cost.sh <root folder>.build/test.
for b in test fuzz; do
  if [ -f "$root/root/pelto/build/$b/.ninja_log" ]; then
    mkdir -p "$root.build/$b"
    cp "$root/root/pelto/build/$b/.ninja_log" "$root/root/pelto/build/$b/CMakeCache.txt" "$root.build/$b/"
  fi
done
if [ "$status" -eq 0 ]; then
  echo "fresh-root-check: make $goal passed in a fresh Debian 12 root"
else
  echo "fresh-root-check: make $goal FAILED (status $status) in a fresh Debian 12 root; the whole output is in $log"
fi
exit "$status"
