# shellcheck shell=bash
# Configuring a build folder the way every script of the project does it. Source it.
#   configure_build FOLDER PRESET [CMAKE-ARGUMENT...]
# configures FOLDER with the preset when it has no build.ninja (new, or left by a
# configure that failed or was interrupted), or when asked to with BRENVO_RECONFIGURE=1;
# CMake's words are shown only when it fails, and the caller's last line then says what
# failed.
configure_build() {
    local folder=$1 preset=$2 log
    shift 2
    [[ ! -f $folder/build.ninja || -n ${BRENVO_RECONFIGURE:-} ]] || return 0
    log=$(mktemp)
    if ! cmake --preset "$preset" "$@" >"$log" 2>&1; then
        # What a failed configure cached (a compiler or a Qt not found then) may keep it
        # failing: once more from an empty cache.
        rm -rf "$folder/CMakeCache.txt" "$folder/CMakeFiles"
        if ! cmake --preset "$preset" "$@" >"$log" 2>&1; then
            cat "$log" >&2
            rm -f "$log"
            echo "configuring $folder/ failed (CMake's words above); once that is mended, run the same command again" >&2
            return 1
        fi
    fi
    rm -f "$log"
}

# One fixed time for everything a release holds, so that two builds of one commit give
# the same bytes: the commit's time, unless the caller set SOURCE_DATE_EPOCH (Debian's
# changelog gives it where there is no Git history, as in a source tarball). Qt's
# resource compiler, the linkers, CPack and the relinking kit all take it.
release_time() {
    if [[ -z ${SOURCE_DATE_EPOCH:-} ]]; then
        SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null) ||
            SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -l dist/debian/changelog -STimestamp)
    fi
    export SOURCE_DATE_EPOCH
    # File modes in the packages do not follow the builder's umask.
    umask 022
}
