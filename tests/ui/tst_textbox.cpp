// A text box as a screen reader reads it: its whole text, in one attribute run (Orca
// joins the runs to speak a line; Qt's own empty runs lost the last letter), its
// characters where they are drawn; the character, word or line at every offset, the end
// included, found at once (Qt 6.8's own search at the end of the text never returned).
#include "fakes.h"

#include <QAccessible>
#include <QLineEdit>
#include <QPlainTextEdit>
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

    void findsTheUnitAtEveryOffset_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("boundary");
        QTest::addColumn<QString>("lastUnit"); // the unit at the end of the text
        const QString words = QStringLiteral("ANN MARIE");
        for (const QString &kind : {QStringLiteral("name box"), QStringLiteral("message box")}) {
            const auto row = [&](const char *name) -> QTestData & {
                return QTest::addRow("%s, %s", qPrintable(kind), name);
            };
            row("character") << kind << words << int(QAccessible::CharBoundary) << QString();
            row("word") << kind << words << int(QAccessible::WordBoundary) << QStringLiteral("MARIE");
            row("sentence") << kind << words << int(QAccessible::SentenceBoundary) << words;
            row("line") << kind << words << int(QAccessible::LineBoundary) << words;
            row("one word") << kind << QStringLiteral("ANN") << int(QAccessible::WordBoundary) << QStringLiteral("ANN");
            row("empty") << kind << QString() << int(QAccessible::WordBoundary) << QString();
        }
    }
    void findsTheUnitAtEveryOffset()
    {
        QFETCH(QString, kind);
        QFETCH(QString, text);
        QFETCH(int, boundary);
        QFETCH(QString, lastUnit);
        const auto type = QAccessible::TextBoundaryType(boundary);
        std::unique_ptr<QWidget> box;
        if (kind == QLatin1String("name box"))
            box = std::make_unique<QLineEdit>(text);
        else
            box = std::make_unique<QPlainTextEdit>(text);
        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box.get()));
        QAccessibleTextInterface *t = QAccessible::queryAccessibleInterface(box.get())->textInterface();
        QVERIFY(t);
        const int n = int(text.size());
        for (int offset = 0; offset <= n; ++offset) {
            const QString where = QStringLiteral("at %1").arg(offset);
            int start = -2, end = -2;
            const QString at = t->textAtOffset(offset, type, &start, &end);
            QVERIFY2(0 <= start && start <= end && end <= n, qPrintable(where));
            QCOMPARE(at, text.mid(start, end - start));
            if (offset == n)
                QCOMPARE(at, lastUnit);
            else if (kind == QLatin1String("name box")) // Qt's message box gives a blank to the word before
                QVERIFY2(start <= offset && offset < end, qPrintable(where));
            const QString before = t->textBeforeOffset(offset, type, &start, &end);
            QVERIFY2(start <= end && end <= n, qPrintable(where));
            QCOMPARE(before, start < 0 ? QString() : text.mid(start, end - start));
            const QString after = t->textAfterOffset(offset, type, &start, &end);
            QVERIFY2(start <= end && end <= n, qPrintable(where));
            QCOMPARE(after, start < 0 ? QString() : text.mid(start, end - start));
        }
    }
};

QTEST_MAIN(tst_textbox)
#include "tst_textbox.moc"
