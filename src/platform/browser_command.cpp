#include "browser_command.h"

#include <QProcess>

namespace platform {

QList<QStringList> browserCommands(const QString &browserVariable, const QString &address,
                                   const std::function<bool(const QString &)> &isProgram)
{
    QList<QStringList> commands;
    qsizetype looks = 0;
    for (const QString &entry : browserVariable.split(u':', Qt::SkipEmptyParts)) {
        if (looks >= kMaxProgramLooks)
            break;
        const QStringList words = QProcess::splitCommand(entry.trimmed());
        // The longest run of first words that names a program: of "/x/b" and "/x/b dir/brow",
        // the one written out.
        qsizetype programWords = 0;
        for (qsizetype n = qMin(words.size(), kMaxProgramWords); n >= 1 && looks < kMaxProgramLooks; --n) {
            ++looks;
            if (isProgram(words.first(n).join(u' '))) {
                programWords = n;
                break;
            }
        }
        if (programWords == 0) // no program to start: nothing is started
            continue;
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
