#!/usr/bin/env bash
# Stops the Wine processes of one prefix and removes what Wine left in the temporary
# folder for it: the server's folder (wine-XXXXXX/server-DEVICE-INODE, named after the
# prefix), which Wine leaves behind. Nothing of another prefix is touched.
#   usage: wine_stop.sh PREFIX
set -u
prefix=$1
WINEPREFIX=$prefix wineserver -k 2>/dev/null
WINEPREFIX=$prefix wineserver -w 2>/dev/null
[[ -d $prefix ]] || exit 0
read -r device inode < <(stat -c '%d %i' "$prefix")
server=$(printf 'server-%x-%x' "$device" "$inode")
for dir in "${TMPDIR:-/tmp}"/wine-* /tmp/wine-*; do
    [[ -d $dir/$server && ! -L $dir && -O $dir ]] || continue
    rm -rf "${dir:?}/$server"
    rmdir "$dir" 2>/dev/null
done
exit 0
