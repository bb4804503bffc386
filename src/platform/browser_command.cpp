#include "browser_command.h"

#include <QProcess>

namespace platform {

QList<QStringList> browserCommands(const QString &browserVariable, const QString &address,
                                   const std::function<bool(const QString &)> &isProgram)
{
    QList<QStringList> commands;
    for (const QString &entry : browserVariable.split(u':', Qt::SkipEmptyParts)) {
        const QStringList words = QProcess::splitCommand(entry.trimmed());
        if (words.isEmpty())
            continue;
        qsizetype programWords = 1;
        for (qsizetype n = 1; n <= words.size(); ++n) {
            if (isProgram(words.first(n).join(u' '))) {
                programWords = n;
                break;
            }
        }
        QStringList command{words.first(programWords).join(u' ')};
        bool addressPlaced = false;
        for (const QString &word : words.sliced(programWords)) {
            QString argument;
            for (qsizetype i = 0; i < word.size(); ++i) {
                const QChar next = i + 1 < word.size() ? word.at(i + 1) : QChar();
                if (word.at(i) == u'%' && next == u's') {
                    argument += address;
                    addressPlaced = true;
                    ++i;
                } else if (word.at(i) == u'%' && next == u'%') {
                    argument += u'%';
                    ++i;
                } else {
                    argument += word.at(i);
                }
            }
            command << argument;
        }
        if (!addressPlaced)
            command << address;
        commands << command;
    }
    return commands;
}

} // namespace platform
