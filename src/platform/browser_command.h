// The browser the user named in $BROWSER, by that variable's convention: a list of
// commands separated by colons, tried in turn; "%s" in a command stands for the address
// ("%%" for a percent sign), and a command without it gets the address as its last
// argument. No command interpreter: each command becomes a program and its arguments,
// the address always one argument of its own.
#pragma once

#include <QList>
#include <QStringList>
#include <functional>

namespace platform {

// The program and arguments of each command in browserVariable, for address, in order.
// Words are split at blanks (quotes keep blanks in a word); the program is the shortest
// run of a command's first words that isProgram accepts, so "/opt/My Browser/run" needs
// no quotes; without one, the first word.
QList<QStringList> browserCommands(const QString &browserVariable, const QString &address,
                                   const std::function<bool(const QString &)> &isProgram);

} // namespace platform
