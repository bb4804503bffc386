// The command line of Brenvo's own: --help, --help-all and --version, which print and
// end before any window, lock or display. Everything else is Qt's.
#pragma once

namespace commandline {

// Prints and returns the exit status when an option that only informs was given;
// -1 otherwise, and the program starts as usual.
int informOnly(int argc, char **argv);

} // namespace commandline
