#include "states.h"

#include "app/DetailsWindow.h"
#include "braintest/TestWindow.h"
#include "braintest/quiz.h"
#include "exit/ExitScreen.h"
#include "web/AboutDialog.h"
#include "widgets.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace states {

namespace {
DetailsWindow *details(fakes::Installed &f, float banner)
{
    f.random->values = {banner};
    DetailsWindow *w = fakes::program().details();
    w->show();
    fakes::program().chooseBanner();
    return w;
}

// The test window at its first question, or after twenty answers of which `keyed`
// were the keyed ones.
TestWindow *test(fakes::Installed &f, int keyed, bool finish)
{
    DetailsWindow *w = details(f, 0.5f);
    widgets::type(widgets::find<QLineEdit>(w, "txtName"), QStringLiteral("ann"));
    widgets::find<QRadioButton>(w, "optFemale")->setChecked(true);
    QTest::mouseClick(widgets::find<QPushButton>(w, "cmdNext"), Qt::LeftButton);
    TestWindow *d = fakes::program().existingTestWindow();
    const quiz::State &s = fakes::program().quiz();
    for (int q = 0; q < (finish ? 20 : 1); ++q) {
        auto *one = widgets::find<QRadioButton>(d, "optAnswerOne");
        auto *two = widgets::find<QRadioButton>(d, "optAnswerTwo");
        const bool keyedFirst = one->text() == s.KeyedAnswers[s.CurrentQuestion];
        ((q < keyed) == keyedFirst ? one : two)->setChecked(true);
        if (finish)
            QTest::mouseClick(widgets::find<QPushButton>(d, "cmdNext"), Qt::LeftButton);
    }
    return d;
}
} // namespace

QStringList all()
{
    return {QStringLiteral("details-cobrand"), QStringLiteral("details-fullbrand"),
            QStringLiteral("question"),        QStringLiteral("result-right"),
            QStringLiteral("result-left"),     QStringLiteral("result-tie"),
            QStringLiteral("result-tie-left"), QStringLiteral("about"),
            QStringLiteral("exit-0"),          QStringLiteral("exit-1"),
            QStringLiteral("exit-2"),          QStringLiteral("exit-3")};
}

QWidget *show(fakes::Installed &f, const QString &state)
{
    if (state == QLatin1String("details-cobrand"))
        return details(f, 0.0f);
    if (state == QLatin1String("details-fullbrand"))
        return details(f, 0.5f);
    if (state == QLatin1String("question"))
        return test(f, 1, false);
    if (state == QLatin1String("result-right"))
        return test(f, 20, true);
    if (state == QLatin1String("result-left"))
        return test(f, 0, true);
    if (state == QLatin1String("result-tie"))
        return test(f, 10, true);
    if (state == QLatin1String("result-tie-left")) {
        TestWindow *d = test(f, 10, true);
        QTest::mouseClick(widgets::find<QPushButton>(d, "cmdLeftBrainResponsible"), Qt::LeftButton);
        return d;
    }
    if (state == QLatin1String("about")) {
        auto *about = new AboutDialog(*f.browser, fakes::program().details());
        about->show();
        return about;
    }
    if (state.startsWith(QLatin1String("exit-"))) {
        f.random->values = {state.back().digitValue() / 4.0f};
        ExitScreen *screen = fakes::program().exitScreen();
        screen->show();
        return screen;
    }
    return nullptr;
}

} // namespace states
