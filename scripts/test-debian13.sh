#!/usr/bin/env bash
# Runs the README's test command on Debian 13 ("trixie"): in a Debian 13 root made with
# mmdebstrap, into which the committed tree (HEAD) is cloned. The root is kept as a
# tarball in /var/cache/brenvo (with the packages the tests need already in it, so a
# second run downloads nothing) and made afresh when it is missing or when the list of
# packages changed. Needs root (chroot, mounts in a namespace of its own).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --no-build --extra mmdebstrap git

mirror=${BRENVO_DEBIAN_MIRROR:-http://deb.debian.org/debian}
cache=/var/cache/brenvo
mapfile -t packages < <(bash scripts/setup.sh --tests --list)
# The tarball is named after what it holds: a changed package list makes a new one.
key=$(printf '%s\n' "$mirror" "${packages[@]}" | sha256sum | cut -c1-16)
tarball=$cache/debian13-$key.tar
mkdir -p "$cache"

# One maker at a time; a second run waits and then finds the tarball made.
exec 9>"$cache/debian13.lock"
flock 9
if [[ ! -f $tarball ]]; then
    echo "test-debian13: making the Debian 13 root (once; some minutes)"
    rm -f "$cache"/debian13-*.tar "$cache"/debian13-*.tar.part
    log=$(mktemp)
    if ! mmdebstrap --variant=apt --mode=root --format=tar --aptopt='APT::Install-Recommends "false"' \
        --include="$(
            IFS=,
            echo "${packages[*]}"
        )" trixie "$tarball.part" "$mirror" >"$log" 2>&1; then
        tail -n 40 "$log" >&2
        rm -f "$log" "$tarball.part"
        echo "test-debian13: could not make the Debian 13 root" >&2
        exit 1
    fi
    rm -f "$log"
    mv "$tarball.part" "$tarball"
fi
flock -u 9

root=$(mktemp -d /var/tmp/brenvo-debian13.XXXXXX)
cleanup() {
    # The mounts lived in the namespace below and ended with it; never remove across one.
    if ! findmnt -rn -o TARGET | grep -q "^$root"; then
        rm -rf --one-file-system "$root"
    fi
}
trap cleanup EXIT
tar -C "$root" -xf "$tarball"
cp /etc/resolv.conf "$root/etc/resolv.conf"
git clone --quiet --no-hardlinks "$PWD" "$root/root/brenvo"
echo "test-debian13: $(git log -1 --format='%h %s') on $(cat "$root/etc/debian_version")"

# A mount and process namespace of its own: whatever the tests leave running ends with
# it, and so do the mounts.
unshare --mount --pid --fork --kill-child --propagation private \
    bash -euc '
        root=$1
        mount -t proc proc "$root/proc"
        mount --rbind /dev "$root/dev"
        mount -t sysfs sysfs "$root/sys"
        mount -t tmpfs -o mode=1777 tmpfs "$root/tmp"
        exec chroot "$root" env -i PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin \
            HOME=/root LANG=C.UTF-8 TERM=dumb CI="${CI:-}" \
            bash /root/brenvo/scripts/test.sh
    ' _ "$root"
