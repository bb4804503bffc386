// Every window in every state it shows, rendered and compared pixel for pixel with the
// pictures in tests/ui/pixels, at the scale factor the run was started with (1 or 2).
// A change to how the forms are built that shows anywhere fails here.
// BRENVO_UPDATE_PIXELS=1 writes the pictures anew instead (after a wanted change).
#include "fakes.h"
#include "states.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QtTest>

class tst_pixels : public QObject
{
    Q_OBJECT
    fakes::Installed f{};

    static QString pictureName(const QString &state)
    {
        const int scale = qEnvironmentVariableIntValue("QT_SCALE_FACTOR") > 1 ? 2 : 1;
        return QStringLiteral(BRENVO_PIXELS_DIR "/%1@%2x.png").arg(state).arg(scale);
    }

private slots:
    void initTestCase()
    {
        fakes::prepareApplication();
        QApplication::setCursorFlashTime(0); // a text cursor that never blinks
        // The pictures were drawn with these stand-ins for Verdana and MS Sans Serif.
        for (const char *family : {"DejaVu Sans", "Liberation Sans"})
            QVERIFY2(QFontDatabase::isSmoothlyScalable(QString::fromLatin1(family)),
                     qPrintable(QStringLiteral("the font \"%1\" is missing (Debian: fonts-dejavu-core, "
                                               "fonts-liberation2)")
                                    .arg(QString::fromLatin1(family))));
    }
    void init() { f = fakes::resetProgram(); }
    void cleanup() { fakes::resetProgram(); }

    void everyWindowAsBefore_data()
    {
        QTest::addColumn<QString>("state");
        // The tie with its left list in front has no picture of its own.
        for (const QString &state : states::all())
            if (state != QLatin1String("result-tie-left"))
                QTest::newRow(qPrintable(state)) << state;
    }
    void everyWindowAsBefore()
    {
        QFETCH(QString, state);
        QWidget *window = states::show(f, state);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const auto picture = [window] { return window->grab().toImage().convertToFormat(QImage::Format_RGB32); };
        // A panel that holds the focus (to be read out) shows a mark in the forms' yellow,
        // within its own rectangle; without the focus, the window is as it always was.
        QWidget *focus = QApplication::focusWidget();
        if (focus && focus->focusPolicy() == Qt::ClickFocus) {
            const QImage marked = picture();
            focus->clearFocus();
            const QImage plain = picture();
            const qreal scale = marked.devicePixelRatio();
            const QRect panel(QPointF(focus->mapTo(window, QPoint()) * scale).toPoint(), focus->size() * scale);
            int yellow = 0;
            for (int y = 0; y < marked.height(); ++y)
                for (int x = 0; x < marked.width(); ++x) {
                    if (marked.pixel(x, y) == plain.pixel(x, y))
                        continue;
                    QVERIFY2(panel.contains(x, y), qPrintable(QStringLiteral("(%1, %2)").arg(x).arg(y)));
                    yellow += marked.pixel(x, y) == qRgb(255, 255, 0);
                }
            // At least a dotted line round it.
            QVERIFY2(yellow >= (panel.width() + panel.height()) / 2,
                     qPrintable(focus->objectName() + QStringLiteral(": ") + QString::number(yellow)));
        }
        const QImage shown = picture();

        const QString path = pictureName(state);
        if (qEnvironmentVariableIsSet("BRENVO_UPDATE_PIXELS")) {
            QDir().mkpath(QFileInfo(path).absolutePath());
            QVERIFY(shown.save(path));
            return;
        }
        const QImage before = QImage(path).convertToFormat(QImage::Format_RGB32);
        QVERIFY2(!before.isNull(), qPrintable(path));
        QCOMPARE(shown.size(), before.size());
        int differing = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                differing += shown.pixel(x, y) != before.pixel(x, y);
        if (differing)
            shown.save(QDir::temp().filePath(QFileInfo(path).fileName()));
        QVERIFY2(
            differing == 0,
            qPrintable(
                QStringLiteral("%1 pixels differ; this run's picture is in %2").arg(differing).arg(QDir::tempPath())));
    }
};

QTEST_MAIN(tst_pixels)
#include "tst_pixels.moc"
