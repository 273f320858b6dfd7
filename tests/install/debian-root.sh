# Shared by the checks that work in a bare Debian root (clean-root-check, debian13-check): the mirror and
# sources this machine's apt uses, the minbase root kept as a tarball in the cache folder, and the mounts
# and processes below the roots, all undone when the check ends, also when it fails.
# Source it after lib.sh, with NAME set to the check's name.

# root_sources SUITE: sets MIRROR, the main archive this machine's apt takes its own Debian release from,
# and SOURCES, the sources.list lines of every Debian archive this machine uses (updates and security as
# well), for SUITE instead of this machine's own release.
root_sources() {
  local suite=$1 own
  own=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  [ -n "$own" ] || fail "/etc/os-release names no release for this machine"
  MIRROR=$(apt-get indextargets --format '$(REPO_URI) $(CODENAME) $(TARGET_OF)' |
    awk -v own="$own" '$2 == own && $3 == "deb" { print $1; exit }')
  [ -n "$MIRROR" ] || fail "this machine's apt sources name no $own archive to take the root from"
  SOURCES=$(apt-get indextargets --format '$(REPO_URI) $(CODENAME) $(COMPONENT) $(TARGET_OF)' |
    awk -v own="$own" -v suite="$suite" '$4 == "deb" && index($2, own) == 1 {
      print "deb " $1 " " suite substr($2, length(own) + 1) " " $3 }' | sort -u)
}

ARCH=$(dpkg --print-architecture)
CACHE=${DRIFTMARK_CI_CACHE:-/var/cache/driftmark-ci}
mkdir -p "$CACHE"
chmod 700 "$CACHE"

# Everything mounted below the roots, in order, unmounted in reverse whatever happens.
MOUNTS=()
unmount_all() {
  local index
  for ((index = ${#MOUNTS[@]} - 1; index >= 0; index--)); do
    umount "${MOUNTS[index]}" 2>/dev/null || umount -l "${MOUNTS[index]}" 2>/dev/null || true
  done
  MOUNTS=()
}

bind() {
  mkdir -p "$2"
  mount --bind "$1" "$2"
  MOUNTS+=("$2")
}

# Roots live outside /tmp: /tmp's X socket folder and the checks' share folders are mounted into them.
ROOTS=$(mktemp -d /var/tmp/driftmark-root-XXXXXX)

# end_root_processes: every process whose root folder lies below ROOTS (a daemon a package or a test
# left running in a root) is asked to end, then killed after 5 s, so that its root can be unmounted.
root_processes() {
  local entry root
  for entry in /proc/[0-9]*; do
    root=$(readlink "$entry/root" 2>/dev/null) || continue
    case $root in "$ROOTS"/*) echo "${entry#/proc/}" ;; esac
  done
}
end_root_processes() {
  local pid deadline=$((SECONDS + 5))
  for pid in $(root_processes); do kill "$pid" 2>/dev/null || true; done
  while [ -n "$(root_processes)" ] && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
  for pid in $(root_processes); do kill -KILL "$pid" 2>/dev/null || true; done
}

# remove FOLDER: only once nothing is mounted below it any more, or rm would reach into this machine's
# /dev and the other folders the mounts show.
remove() {
  if grep -qF " $1/" /proc/self/mounts; then
    echo "$NAME: $1 still has mounts and is left in place" >&2
    return 1
  fi
  rm -rf --one-file-system "$1"
}

cleanup() {
  end_root_processes
  unmount_all
  remove "$ROOTS" || true
  rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# bare_root SUITE: sets TARBALL to a minbase root of SUITE from MIRROR, made with debootstrap unless the
# cache holds one younger than 30 days.
bare_root() {
  local suite=$1 bare="$ROOTS/bare" status=0 started=$SECONDS folder
  TARBALL="$CACHE/minbase-$suite-$ARCH-$(printf '%s' "$MIRROR" | sha1sum | cut -c1-12).tar"
  if [ -f "$TARBALL" ] && [ -z "$(find "$TARBALL" -mtime +30)" ]; then
    echo "--- $NAME: the bare $suite root from $TARBALL"
    return 0
  fi
  command -v debootstrap >/dev/null || fail "debootstrap is missing; run scripts/install-deps"
  echo "--- $NAME: debootstrap --variant=minbase $suite from $MIRROR"
  debootstrap --variant=minbase --arch="$ARCH" "$suite" "$bare" "$MIRROR" >"$WORK/debootstrap.log" 2>&1 || status=$?
  # What a failed debootstrap leaves mounted.
  for folder in proc sys dev/pts dev; do umount "$bare/$folder" 2>/dev/null || true; done
  [ "$status" -eq 0 ] || fail "debootstrap failed: $(tail -n 20 "$WORK/debootstrap.log")"
  rm -rf "$bare"/var/cache/apt/archives/*.deb "$bare"/var/lib/apt/lists/*
  tar -C "$bare" -cf "$TARBALL.new" . || fail "cannot write $TARBALL"
  mv "$TARBALL.new" "$TARBALL"
  remove "$bare" || fail "cannot remove $bare"
  echo "bare root made and kept in $TARBALL ($((SECONDS - started))s)"
}

# unpack_root ROOT: a fresh copy of the bare root, with the sources of its suite and this machine's
# resolver.
unpack_root() {
  mkdir -p "$1"
  tar -C "$1" -xf "$TARBALL" || fail "cannot unpack $TARBALL"
  printf '%s\n' "$SOURCES" >"$1/etc/apt/sources.list"
  rm -f "$1"/etc/apt/sources.list.d/*
  cp /etc/resolv.conf "$1/etc/resolv.conf"
}
