// Any stored "Duration" value: one that does not read as a date never prompts and
// never writes; one that does prompts only more than fourteen days away from today.
#include "fakes.h"
#include "web/update_prompt.h"

#include <QCoreApplication>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fakes::Installed f = fakes::resetProgram();
    const QString stored = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    f.settings->values.insert(QStringLiteral("Settings/Duration"), stored);
    f.boxes->answers.push_back(platform::BoxAnswer::No);
    updatePrompt::OfferUpdateCheck(fakes::program().services());
    const QDate date = updatePrompt::parseStoredDate(stored);
    const bool prompted = !f.boxes->shown.empty();
    bool ok = true;
    if (stored.isEmpty())
        ok = !prompted && f.settings->writes == 1;
    else if (!date.isValid())
        ok = !prompted && f.settings->writes == 0;
    else
        ok = prompted == (qAbs(f.clock->date.daysTo(date)) > 14) && f.settings->writes == (prompted ? 1 : 0);
    if (!ok) {
        fprintf(stderr, "stored \"%s\": prompted %d, writes %d\n", qPrintable(stored), prompted, f.settings->writes);
        abort();
    }
    return 0;
}
