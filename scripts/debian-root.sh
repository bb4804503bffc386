# shellcheck shell=bash
# Debian roots for the project's own checks, made with mmdebstrap: what a fresh machine
# of a Debian release holds, plus the packages named. Each is kept as a tarball in
# /var/cache/brenvo named after what it holds (made once: well under a minute for a bare
# root, some minutes with Wine) and unpacked anew for every run. Source it from the
# project's root; needs root.
#   debian_root RELEASE DIR [PACKAGE...]   unpacks a fresh root of RELEASE (bookworm,
#                                          trixie) into the empty folder DIR
#   debian_remove DIR                      removes an unpacked root again

debian_root() {
    local release=$1 into=$2 mirror=${BRENVO_DEBIAN_MIRROR:-http://deb.debian.org/debian} cache=/var/cache/brenvo
    shift 2
    local packages=("$@") key tarball log options
    bash scripts/setup.sh --no-build --extra mmdebstrap
    # The tarball is named after what it holds: another package list makes another.
    key=$(printf '%s\n' "$release" "$mirror" "${packages[@]}" | sha256sum | cut -c1-16)
    tarball=$cache/$release-$key.tar
    mkdir -p "$cache"
    (
        # One maker at a time; a second run waits and then finds the tarball made.
        flock 9
        [[ ! -f $tarball ]] || exit 0
        echo "debian-root: making a Debian $release root${packages[*]:+ with ${packages[*]}} (once)"
        log=$(mktemp)
        # A bare root is left as mmdebstrap makes it; one with packages gets them
        # without what they merely recommend.
        options=()
        ((${#packages[@]} == 0)) || options=(--aptopt='APT::Install-Recommends "false"' --include="$(
            IFS=,
            echo "${packages[*]}"
        )")
        if ! mmdebstrap --variant=apt --mode=root --format=tar "${options[@]}" \
            "$release" "$tarball.part" "$mirror" >"$log" 2>&1; then
            tail -n 40 "$log" >&2
            rm -f "$log" "$tarball.part"
            echo "debian-root: could not make the Debian $release root" >&2
            exit 1
        fi
        rm -f "$log"
        mv "$tarball.part" "$tarball"
    ) 9>"$cache/$release.lock" || return 1
    # Roots of package lists nobody has asked for in a month go.
    touch "$tarball"
    find "$cache" -maxdepth 1 -name "$release-*.tar" -mtime +30 -delete
    tar -C "$into" -xf "$tarball"
    cp /etc/resolv.conf "$into/etc/resolv.conf"
}

# Removes an unpacked root, unless something is still mounted in it (the mounts live in
# a namespace of their own and end with it; never remove across one).
debian_remove() {
    if ! findmnt -rn -o TARGET | grep -q "^$1"; then
        rm -rf --one-file-system "$1"
    fi
}
