// The per-user lock that lets only one copy of the program run.
#pragma once

#include <QString>

namespace platform {

// Where the lock lives: the user's runtime folder ($XDG_RUNTIME_DIR on Linux) when it is
// the user's own and private, else the folder brenvo in the user's cache folder. Empty
// when neither is fit.
QString instanceLockPath();

// True when this process now holds the lock, or when neither the runtime folder's lock
// nor the cache folder's can be used (Brenvo then starts); false only when another copy
// holds it. The operating system drops
// the lock when the process dies, however it dies, so a killed copy never blocks the
// next start.
bool claimInstanceLock();

} // namespace platform
