// A text box as a screen reader reads it: its whole text, in one attribute run (Orca
// joins the runs to speak a line; Qt's own empty runs lost the last letter), its
// characters where they are drawn; the character, word or line at every offset, the end
// included, found at once (Qt 6.8's own search at the end of the text never returned).
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

    // What a reader asks when it reads by character, word or line: the unit at an offset,
    // the one before it and the one after it, each with where it starts and ends.
    void findsTheUnits_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("boundary");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QStringList>("units"); // at, before, after
        const QString words = QStringLiteral("ANN MARIE");
        const int character = QAccessible::CharBoundary, word = QAccessible::WordBoundary;
        QTest::newRow("first character") << words << character << 0 << QStringList{"A", "", "N"};
        QTest::newRow("past the end, character") << words << character << 9 << QStringList{"", "E", ""};
        QTest::newRow("first word") << words << word << 1 << QStringList{"ANN", "", " "};
        QTest::newRow("the blank between") << words << word << 3 << QStringList{" ", "ANN", "MARIE"};
        QTest::newRow("last word") << words << word << 5 << QStringList{"MARIE", " ", ""};
        QTest::newRow("past the end, the last word") << words << word << 9 << QStringList{"MARIE", " ", ""};
        QTest::newRow("sentence") << words << int(QAccessible::SentenceBoundary) << 2 << QStringList{words, "", ""};
        QTest::newRow("line") << words << int(QAccessible::LineBoundary) << 9 << QStringList{words, "", ""};
        QTest::newRow("empty") << QString() << word << 0 << QStringList{"", "", ""};
    }
    void findsTheUnits()
    {
        QFETCH(QString, text);
        QFETCH(int, boundary);
        QFETCH(int, offset);
        QFETCH(QStringList, units);
        QLineEdit box(text);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QAccessibleTextInterface *t = QAccessible::queryAccessibleInterface(&box)->textInterface();
        const auto type = QAccessible::TextBoundaryType(boundary);
        int start = -2, end = -2;
        const auto found = [&](const QString &unit) {
            // An empty unit may sit anywhere; one with text where the text holds it.
            return unit.isEmpty() || (0 <= start && start <= end && text.mid(start, end - start) == unit);
        };
        QCOMPARE(t->textAtOffset(offset, type, &start, &end), units[0]);
        QVERIFY(found(units[0]));
        QCOMPARE(t->textBeforeOffset(offset, type, &start, &end), units[1]);
        QVERIFY(found(units[1]));
        QCOMPARE(t->textAfterOffset(offset, type, &start, &end), units[2]);
        QVERIFY(found(units[2]));
    }
};

QTEST_MAIN(tst_textbox)
#include "tst_textbox.moc"
