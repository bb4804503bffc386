# shellcheck shell=bash
# A Debian 13 ("trixie") root made with mmdebstrap, with the packages the tests need
# already in it and Wine 10, which reads a Windows program the way a Windows screen reader
# does (Debian 12's Wine 8 cannot). It is kept as a tarball in /var/cache/brenvo, made
# afresh when it is missing or the list of packages changed, and unpacked anew for every
# run. Source it from the project's root; needs root.
#   debian13_root DIR    unpacks a fresh root into the empty folder DIR

debian13_root() {
    local into=$1 mirror=${BRENVO_DEBIAN_MIRROR:-http://deb.debian.org/debian} cache=/var/cache/brenvo
    local packages key tarball log
    bash scripts/setup.sh --no-build --extra mmdebstrap
    mapfile -t packages < <(bash scripts/setup.sh --tests --list)
    packages+=(wine wine64)
    # The tarball is named after what it holds: a changed package list makes a new one.
    key=$(printf '%s\n' "$mirror" "${packages[@]}" | sha256sum | cut -c1-16)
    tarball=$cache/debian13-$key.tar
    mkdir -p "$cache"
    (
        # One maker at a time; a second run waits and then finds the tarball made.
        flock 9
        [[ ! -f $tarball ]] || exit 0
        echo "debian13-root: making the Debian 13 root (once; some minutes)"
        rm -f "$cache"/debian13-*.tar "$cache"/debian13-*.tar.part
        log=$(mktemp)
        if ! mmdebstrap --variant=apt --mode=root --format=tar --aptopt='APT::Install-Recommends "false"' \
            --include="$(
                IFS=,
                echo "${packages[*]}"
            )" trixie "$tarball.part" "$mirror" >"$log" 2>&1; then
            tail -n 40 "$log" >&2
            rm -f "$log" "$tarball.part"
            echo "debian13-root: could not make the Debian 13 root" >&2
            exit 1
        fi
        rm -f "$log"
        mv "$tarball.part" "$tarball"
    ) 9>"$cache/debian13.lock" || return 1
    tar -C "$into" -xf "$tarball"
    cp /etc/resolv.conf "$into/etc/resolv.conf"
}

# Removes an unpacked root, unless something is still mounted in it (the mounts live in
# a namespace of their own and end with it; never remove across one).
debian13_remove() {
    if ! findmnt -rn -o TARGET | grep -q "^$1"; then
        rm -rf --one-file-system "$1"
    fi
}
