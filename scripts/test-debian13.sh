#!/usr/bin/env bash
# Runs the README's test command on Debian 13 ("trixie"): in a Debian 13 root (see
# scripts/debian13-root.sh: the tests' packages are in it already, so a second run
# downloads nothing), into which the committed tree (HEAD) is cloned. Needs root
# (chroot, mounts in a namespace of its own).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --no-build --extra git
source scripts/debian13-root.sh

root=$(mktemp -d /var/tmp/brenvo-debian13.XXXXXX)
trap 'debian13_remove "$root"' EXIT
debian13_root "$root"
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
