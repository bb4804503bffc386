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
// Words are split at blanks (quotes keep blanks in a word); the program is the longest
// run of a command's first words that isProgram accepts, so "/opt/My Browser/run" needs
// no quotes. A command that names no program is left out. However long the variable,
// isProgram is asked at most kMaxProgramLooks times, about runs of at most
// kMaxProgramWords words: the commands it could not look at are left out too.
QList<QStringList> browserCommands(const QString &browserVariable, const QString &address,
                                   const std::function<bool(const QString &)> &isProgram);

inline constexpr qsizetype kMaxProgramWords = 32;
inline constexpr qsizetype kMaxProgramLooks = 4096;

} // namespace platform
