# shellcheck shell=bash
# Sourced: exports Debian's build flags with every hardening feature (PIE, RELRO and
# BINDNOW, FORTIFY_SOURCE, stack protector) as CMake reads them at its first configure.
eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
export CXXFLAGS="$CPPFLAGS $CXXFLAGS" LDFLAGS
