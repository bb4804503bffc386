// A text box as a screen reader reads it: its whole text, in one attribute run (Orca
// joins the runs to speak a line; Qt's own empty runs lost the last letter), its
// characters where they are drawn.
#include "fakes.h"

#include <QAccessible>
#include <QLineEdit>
#include <QtTest>

class tst_textbox : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { fakes::prepareApplication(); }

    void readsTheWholeText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("ANN") << QStringLiteral("ANN");
        QTest::newRow("one letter") << QStringLiteral("B");
        QTest::newRow("blanks and capitals") << QStringLiteral("ANN MARIE");
        QTest::newRow("empty") << QString();
    }
    void readsTheWholeText()
    {
        QFETCH(QString, text);
        QLineEdit box;
        box.setText(text);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&box);
        QCOMPARE(iface->role(), QAccessible::EditableText);
        QVERIFY(iface->state().editable);
        QAccessibleTextInterface *t = iface->textInterface();
        QVERIFY(t);
        const int n = int(text.size());
        QCOMPARE(t->characterCount(), n);
        QCOMPARE(t->text(0, n), text);
        QCOMPARE(t->cursorPosition(), n);
        // Each run, joined as Orca joins them, gives the whole text back.
        QString joined;
        for (int offset = 0; offset < n;) {
            int start = -1, end = -1;
            t->attributes(offset, &start, &end);
            QVERIFY2(start <= offset && end > offset, qPrintable(QStringLiteral("%1-%2").arg(start).arg(end)));
            joined += t->text(qMax(start, offset), end);
            offset = end;
        }
        QCOMPARE(joined, text);
        // The characters lie left to right, and a point on one finds it.
        int lastX = -1;
        for (int offset = 0; offset < n; ++offset) {
            const QRect r = t->characterRect(offset);
            QVERIFY(r.width() > 0 || text[offset] == u' ');
            QVERIFY(r.x() > lastX);
            lastX = r.x();
            if (r.width() > 1)
                QCOMPARE(t->offsetAtPoint(r.center() - QPoint(r.width() / 4, 0)), offset);
        }
    }

    void selectionIsShared()
    {
        QLineEdit box(QStringLiteral("ANN MARIE"));
        QAccessibleTextInterface *t = QAccessible::queryAccessibleInterface(&box)->textInterface();
        t->setSelection(0, 4, 9);
        QCOMPARE(box.selectedText(), QStringLiteral("MARIE"));
        int start = -1, end = -1;
        t->selection(0, &start, &end);
        QCOMPARE(QPair(start, end), QPair(4, 9));
        QCOMPARE(t->selectionCount(), 1);
        t->removeSelection(0);
        QCOMPARE(t->selectionCount(), 0);
    }
};

QTEST_MAIN(tst_textbox)
#include "tst_textbox.moc"
