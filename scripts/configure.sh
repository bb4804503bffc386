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
