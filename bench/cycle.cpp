// Median time of one whole test through the real widgets on the offscreen platform
// (start, twenty answers, the verdict, OK), beside the cost of creating, showing and
// destroying a bare main window, so that a regression shows as a ratio; and how much
// resident memory the cycles after the first tenth added (Linux), which should be none.
#include "app/DetailsWindow.h"
#include "app/Program.h"
#include "braintest/TestWindow.h"
#include "fakes.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
long residentKiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * 4 : -1;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform warns at every window shown; only the figures matter here.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    QApplication app(argc, argv);
    fakes::prepareApplication();
    fakes::resetProgram();
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 1000;

    DetailsWindow *details = fakes::program().details();
    details->show();
    details->findChild<QLineEdit *>(QStringLiteral("txtName"))->setText(QStringLiteral("ANN"));
    details->findChild<QRadioButton *>(QStringLiteral("optMale"))->setChecked(true);
    auto *start = details->findChild<QPushButton *>(QStringLiteral("cmdNext"));

    std::vector<double> cycle;
    QElapsedTimer timer;
    long settled = -1;
    for (int i = 0; i < rounds; ++i) {
        if (i == rounds / 10)
            settled = residentKiB();
        timer.start();
        start->click();
        TestWindow *d = fakes::program().existingTestWindow();
        auto *one = d->findChild<QRadioButton *>(QStringLiteral("optAnswerOne"));
        auto *next = d->findChild<QPushButton *>(QStringLiteral("cmdNext"));
        for (int q = 0; q < 20; ++q) {
            one->click();
            next->click();
        }
        d->findChild<QPushButton *>(QStringLiteral("Command1"))->click();
        QCoreApplication::processEvents();
        fakes::flushDeletes();
        cycle.push_back(timer.nsecsElapsed() / 1e3);
    }
    const long grown = residentKiB() - settled;

    std::vector<double> bare;
    for (int i = 0; i < rounds; ++i) {
        timer.start();
        auto *w = new QMainWindow;
        w->setCentralWidget(new QWidget);
        w->centralWidget()->setFixedSize(377, 338);
        w->show();
        QCoreApplication::processEvents();
        delete w;
        fakes::flushDeletes();
        bare.push_back(timer.nsecsElapsed() / 1e3);
    }
    const double c = median(cycle), b = median(bare);
    std::printf("whole test cycle: median %.0f us over %d\n", c, rounds);
    std::printf("bare main window create/show/destroy: median %.0f us over %d\n", b, rounds);
    std::printf("ratio cycle / bare window: %.2f\n", c / b);
    if (settled >= 0)
        std::printf("resident memory added by the last %d cycles: %ld KiB\n", rounds - rounds / 10, grown);
    // The windows go while the application still exists.
    fakes::resetProgram();
    return 0;
}
