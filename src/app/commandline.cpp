#include "commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <algorithm>
#include <cstring>

namespace commandline {

int informOnly(int argc, char **argv)
{
    static const char *const informing[] = {"-h", "--help", "--help-all", "-v", "--version"};
    const auto informs = [](const char *arg) {
        return std::any_of(std::begin(informing), std::end(informing),
                           [arg](const char *o) { return std::strcmp(arg, o) == 0; });
    };
    const auto first = std::find_if(argv + std::min(argc, 1), argv + argc, informs);
    if (first == argv + argc)
        return -1;

    // A core application only: this needs no display.
    QCoreApplication core(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Brenvo"));
    QCoreApplication::setApplicationVersion(QStringLiteral(BRENVO_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Tells whether the left or the right hemisphere of your brain is the more dominant.\n"
                       "Any other option is Qt's (see --help-all), such as -platform."));
    parser.addHelpOption();
    parser.addVersionOption();
    // Qt's own options may stand beside it: only the informing option is read.
    parser.process(QStringList{QString::fromLocal8Bit(argv[0]), QString::fromLocal8Bit(*first)});
    return 0; // process() has printed and ended the program
}

} // namespace commandline
