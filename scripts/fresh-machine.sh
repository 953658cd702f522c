#!/usr/bin/env bash
# Runs one of the README's commands the way a new user would: on a fresh
# Debian 12 (a debootstrap of bookworm, minbase), from a clean checkout of
# HEAD, as root with a clean environment (no DISPLAY, no XAUTHORITY). Prints
# the wall and processor time, the result, and what apt added, ending with
# the README table's row for the command.
#
#   scripts/fresh-machine.sh [scripts/run.sh | scripts/test.sh]
#
# Needs root, debootstrap (apt-get install debootstrap) and Debian's mirrors.
#   SI32_DEBIAN_MIRROR   the mirror (default http://deb.debian.org/debian)
#   SI32_FRESH_BASE      a folder that keeps the debootstrap result between
#                        runs (default: none, every run bootstraps anew)
#   SI32_FRESH_CCACHE    a ccache folder bound into the machine, with ccache
#                        installed there (default: off; a warm cache makes
#                        the time meaningless, so the table says so)
#   SI32_FRESH_TIMEOUT   seconds the command may take (default 7200)
#   SI32_FRESH_KEEP=1    leave the machine's folder in place
set -euo pipefail

command="${1:-scripts/run.sh}"
case "$command" in
  scripts/run.sh | scripts/test.sh) ;;
  *) echo "usage: $0 [scripts/run.sh | scripts/test.sh]" >&2; exit 2 ;;
esac
[ "$(id -u)" -eq 0 ] || { echo "$0: needs root (debootstrap, chroot, mount)" >&2; exit 2; }
command -v debootstrap >/dev/null || { echo "$0: needs debootstrap (apt-get install debootstrap)" >&2; exit 2; }

repo="$(cd "$(dirname "$0")/.." && pwd)"
mirror="${SI32_DEBIAN_MIRROR:-http://deb.debian.org/debian}"
limit="${SI32_FRESH_TIMEOUT:-7200}"
scratch="$(mktemp -d /var/tmp/si32-fresh-machine.XXXXXX)"
root="$scratch/root"
mounts=()
child=""

# Whatever the command left running inside holds the machine's mounts: every
# process whose root is this machine was started by this script.
end_processes_inside() {
  local sig pid pids
  for sig in TERM TERM KILL; do
    pids=()
    for pid in /proc/[0-9]*; do
      [ "$(readlink "$pid/root" 2>/dev/null)" = "$root" ] && pids+=("${pid#/proc/}")
    done
    [ ${#pids[@]} -gt 0 ] || return 0
    kill "-$sig" "${pids[@]}" 2>/dev/null || true
    sleep 2
  done
}

cleanup() {
  local status=$? i
  trap - EXIT INT TERM HUP
  [ -z "$child" ] || kill "$child" 2>/dev/null || true
  end_processes_inside
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
    umount "${mounts[i]}" 2>/dev/null || umount -l "${mounts[i]}" || true
  done
  if findmnt -rn -o TARGET | grep -qF "$root/"; then
    echo "left $scratch in place: a mount inside it did not come off" >&2
  elif [ "${SI32_FRESH_KEEP:-0}" = 1 ]; then
    echo "kept $scratch"
  else
    rm -rf --one-file-system "$scratch"
  fi
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

# Long steps run in the background so that a signal ends them and the
# machine is taken apart at once, not when the step would have finished.
step() {
  "$@" &
  child=$!
  local status=0
  wait "$child" || status=$?
  child=""
  return "$status"
}

bind() { # bind SOURCE TARGET [mount options...]
  mkdir -p "$2"
  mount "${@:3}" "$1" "$2"
  mounts+=("$2")
}

if [ -n "${SI32_FRESH_BASE:-}" ] && [ -f "$SI32_FRESH_BASE/etc/debian_version" ]; then
  cp -a "$SI32_FRESH_BASE" "$root"
else
  step debootstrap --variant=minbase bookworm "$root" "$mirror" >"$scratch/debootstrap.log" 2>&1 ||
    { tail -n 30 "$scratch/debootstrap.log" >&2; exit 1; }
  if [ -n "${SI32_FRESH_BASE:-}" ]; then
    rm -rf "$SI32_FRESH_BASE"
    cp -a "$root" "$SI32_FRESH_BASE"
  fi
fi
cp /etc/resolv.conf "$root/etc/resolv.conf"

bind proc "$root/proc" -t proc
bind sysfs "$root/sys" -t sysfs
bind /dev "$root/dev" --bind
bind devpts "$root/dev/pts" -t devpts -o newinstance,ptmxmode=0666,mode=620,gid=5
bind shm "$root/dev/shm" -t tmpfs -o mode=1777
bind tmp "$root/tmp" -t tmpfs -o mode=1777

# A clean checkout: only what is committed, as a clone would have it.
mkdir -p "$root/root/si32"
git -C "$repo" archive --format=tar HEAD | tar -x -C "$root/root/si32"

clean_env=(env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin)
inside() { chroot "$root" "${clean_env[@]}" "$@"; }

# What apt adds is measured from dpkg's own records, before and after.
installed() { inside dpkg-query -W -f='${binary:Package} ${Installed-Size}\n' | sort; }
archives() { find "$root/var/cache/apt/archives" -maxdepth 1 -name '*.deb' -printf '%s\n' | awk '{s += $1} END {print s + 0}'; }
installed >"$scratch/before"
downloaded_before="$(archives)"

ccache_note=""
if [ -n "${SI32_FRESH_CCACHE:-}" ]; then
  inside apt-get update -q >/dev/null
  inside DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends ccache >/dev/null
  bind "$SI32_FRESH_CCACHE" "$root/root/.ccache" --bind
  clean_env+=(CCACHE_DIR=/root/.ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache CMAKE_C_COMPILER_LAUNCHER=ccache)
  ccache_note=" (ccache bound in)"
  installed >"$scratch/before"
  downloaded_before="$(archives)"
fi

echo "running $command on a fresh Debian 12 in $root$ccache_note"
timed() {
  local TIMEFORMAT='%R %U %S'
  { time "$@" </dev/null >"$scratch/command.log" 2>&1; } 2>"$scratch/time"
}
status=0
step timed timeout "$limit" chroot "$root" "${clean_env[@]}" \
  bash -c 'cd /root/si32 && exec "$0"' "$command" || status=$?
end_processes_inside
tail -n 25 "$scratch/command.log"

installed >"$scratch/after"
read -r wall user sys <"$scratch/time"
added="$(comm -13 "$scratch/before" "$scratch/after" | wc -l)"
disk_kib="$(comm -13 "$scratch/before" "$scratch/after" | awk '{s += $2} END {print s + 0}')"
download=$(($(archives) - downloaded_before))
mb() { awk -v b="$1" 'BEGIN {printf "%d MB", b / 1000000 + 0.5}'; }
wall_s="$(awk -v t="$wall" 'BEGIN {printf "%d", t + 0.5}')"
cpu_s="$(awk -v u="$user" -v s="$sys" 'BEGIN {printf "%d", u + s + 0.5}')"
result="passed"
[ "$status" -eq 0 ] || result="failed (exit $status)"
[ "$status" -ne 124 ] || result="timed out after $limit s"

echo "command:        $command$ccache_note"
echo "result:         $result"
echo "wall time:      $wall_s s ($cpu_s s of processor time, $(nproc) cores)"
echo "packages added: $added"
echo "download:       $(mb "$download")"
echo "disk:           $(mb $((disk_kib * 1024)))"
echo "| \`$command\`$ccache_note | $added | $(mb "$download") | $(mb $((disk_kib * 1024))) | $wall_s s | $cpu_s s | $result |"
exit "$status"
