#!/usr/bin/env bash
# Unpacks Qt 6.4.2's host tools (moc, rcc, uic and their CMake files) from Debian 12's
# packages into PREFIX, for building against the Qt 6.4.2 for Windows on a Debian with
# a newer Qt. Debian 12's archive is asked through an apt configuration of its own; the
# system's sources and packages stay as they are.
#   usage: host-tools.sh PREFIX          (run as root or with sudo)
set -euo pipefail
prefix=$1
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
# The mirror the system already uses for Debian, else Debian's own.
mirror=$(grep -hos 'https\?://[^ ]*/debian/\?\( \|$\)' /etc/apt/sources.list.d/*.sources /etc/apt/sources.list |
    head -n1 | tr -d ' ' || true)
mirror=${mirror:-http://deb.debian.org/debian}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/lists/partial" "$work/cache/archives/partial"
touch "$work/status" # nothing installed, as far as this apt knows: the candidates are Debian 12's
echo "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] ${mirror%/} bookworm main" >"$work/sources.list"
apt=(apt-get -qq -o Dir::Etc::SourceList="$work/sources.list" -o Dir::Etc::SourceParts=/nonexistent
    -o Dir::State::Lists="$work/lists" -o Dir::State::status="$work/status" -o Dir::Cache="$work/cache"
    -o APT::Sandbox::User=root)
"${apt[@]}" update
(cd "$work" && "${apt[@]}" download qt6-base-dev-tools qt6-base-dev qmake6)
"${sudo[@]}" mkdir -p "$prefix"
for deb in "$work"/*.deb; do
    "${sudo[@]}" dpkg-deb -x "$deb" "$prefix"
done
"$prefix/usr/lib/qt6/libexec/moc" --version
