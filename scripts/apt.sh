# shellcheck shell=bash
# Installing Debian packages the way every script of the project does it: as root or
# through sudo, after waiting for any other program that is using apt, after finishing
# an install that was interrupted, and with a line of progress every tenth of the way,
# downloads included. Source it.
#   apt_install PACKAGE|FILE.deb...   installs them (and what they need); false on failure

apt_sudo=()
[[ $(id -u) -eq 0 ]] || apt_sudo=(sudo)

# The locks apt and dpkg take, and the process holding one of them (as /proc/locks
# names it: the device in hexadecimal, then the inode), or nothing.
apt_lock_holder() {
    local file dev inode pid
    for file in /var/lib/dpkg/lock-frontend /var/lib/dpkg/lock /var/lib/apt/lists/lock /var/cache/apt/archives/lock; do
        [[ -e $file ]] || continue
        dev=$(stat -c %d "$file") inode=$(stat -c %i "$file")
        pid=$(awk -v id="$(printf '%02x:%02x:%s' $(((dev >> 8) & 0xfff)) $(((dev & 0xff) | ((dev >> 12) & 0xfff00))) "$inode")" \
            '$0 ~ " " id " " { for (i = 1; i <= NF; i++) if ($i ~ /^[0-9]+$/ && $(i + 1) == id) { print $i; exit } }' /proc/locks)
        if [[ -n $pid ]]; then
            echo "$pid"
            return
        fi
    done
}

# Waits, saying so once, while another program (an unattended upgrade, a package
# manager window) holds apt's locks.
apt_wait_for_lock() {
    local pid said=
    while pid=$(apt_lock_holder) && [[ -n $pid ]]; do
        if [[ -z $said ]]; then
            echo "  waiting for apt, which another program is using (process $pid: $(tr '\0\n' '  ' </proc/"$pid"/cmdline 2>/dev/null | cut -c1-60))"
            said=1
        fi
        sleep 1
    done
}

# apt's own progress (its status lines, among its other output) as one line every
# tenth of the download and of the setting up.
apt_progress() {
    local kind _item percent _rest step downloaded=-10 set_up=-10
    while IFS=: read -r kind _item percent _rest; do
        step=${percent%%.*}
        [[ $step =~ ^[0-9]+$ ]] || continue
        step=$((step / 10 * 10))
        case $kind in
        dlstatus) ((step <= downloaded)) || { downloaded=$step && echo "  downloading: $step %"; } ;;
        pmstatus) ((step <= set_up)) || { set_up=$step && echo "  setting up: $step %"; } ;;
        esac
    done
}

apt_install() {
    local log apt status
    if ((${#apt_sudo[@]})) && ! command -v sudo >/dev/null; then
        echo "installing packages needs root: run this as root, or install sudo and give yourself the right to use it" >&2
        return 1
    fi
    log=$(mktemp)
    # The lock is waited for above, and by apt itself should another program take it
    # in between.
    # The status lines go to standard output with apt's own: sudo closes every other
    # descriptor.
    apt=("${apt_sudo[@]}" env DEBIAN_FRONTEND=noninteractive DEBCONF_NOWARNINGS=yes
        apt-get -q -y -o DPkg::Lock::Timeout=600 -o APT::Status-Fd=1)
    apt_wait_for_lock
    # A run stopped halfway through (Ctrl+C, a lost connection) left dpkg's journal.
    if compgen -G '/var/lib/dpkg/updates/[0-9]*' >/dev/null; then
        echo "  finishing the install that was interrupted (dpkg --configure -a)"
        "${apt_sudo[@]}" env DEBIAN_FRONTEND=noninteractive dpkg --configure -a >>"$log" 2>&1
    fi
    echo "  reading Debian's package lists"
    # apt's own output goes to the log, shown only when something fails.
    if "${apt[@]}" update 2>&1 | tee -a "$log" | apt_progress >/dev/null &&
        "${apt[@]}" install --fix-broken --no-install-recommends "$@" 2>&1 | tee -a "$log" | apt_progress; then
        status=0
    else
        status=1
        grep -v '^[a-z]*status:' "$log" >&2
    fi
    rm -f "$log"
    return "$status"
}
