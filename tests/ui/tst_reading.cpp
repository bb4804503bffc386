// Every window in every state it shows, as a screen reader finds it (Orca through AT-SPI
// and a Windows reader through UI Automation both start from this tree): its controls
// read in the order they are seen, and nothing read that lies covered.
#include "fakes.h"
#include "states.h"

#include <QAccessible>
#include <QtTest>

namespace {

// a is seen before b: from the top, a box whose top lies above the other's middle comes
// first; side by side (each top above the other's middle), the left one.
bool seenBefore(const QRect &a, const QRect &b)
{
    const auto above = [](const QRect &x, const QRect &y) { return 2 * x.top() < 2 * y.top() + y.height(); };
    if (above(a, b) != above(b, a))
        return above(a, b);
    return above(a, b) && a.left() < b.left();
}

QString described(QAccessibleInterface *node)
{
    const QRect r = node->rect();
    return QStringLiteral("'%1' (role %2) at %3,%4 %5x%6")
        .arg(node->text(QAccessible::Name))
        .arg(int(node->role()))
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height());
}

// What a reader reads of the node's children, in the order it reads them.
QList<QAccessibleInterface *> shownChildren(QAccessibleInterface *node)
{
    QList<QAccessibleInterface *> shown;
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface *child = node->child(i);
        if (child && !child->state().invisible && !child->rect().isEmpty())
            shown.append(child);
    }
    return shown;
}

// Every fault of reading order or covering under node, each as one line.
void faults(QAccessibleInterface *node, QStringList &found)
{
    const QList<QAccessibleInterface *> children = shownChildren(node);
    for (qsizetype i = 0; i < children.size(); ++i) {
        for (qsizetype j = i + 1; j < children.size(); ++j)
            if (seenBefore(children[j]->rect(), children[i]->rect()))
                found << described(children[j]) + QStringLiteral(" is read after ") + described(children[i]);
        // Covered whole by a sibling drawn over it.
        auto *widget = qobject_cast<QWidget *>(children[i]->object());
        if (widget && widget->parentWidget()) {
            const QObjectList &stack = widget->parentWidget()->children();
            for (qsizetype k = stack.indexOf(widget) + 1; k < stack.size(); ++k) {
                auto *over = qobject_cast<QWidget *>(stack[k]);
                if (over && over->isVisible() && over->geometry().contains(widget->geometry()))
                    found << described(children[i]) + QStringLiteral(" is read though ") + over->objectName()
                                 + QStringLiteral(" covers it");
            }
        }
        faults(children[i], found);
    }
}

} // namespace

class tst_reading : public QObject
{
    Q_OBJECT
    fakes::Installed f{};

private slots:
    void initTestCase() { fakes::prepareApplication(); }
    void init() { f = fakes::resetProgram(); }
    void cleanup() { fakes::resetProgram(); }

    void everyWindowReadInTheOrderSeen_data()
    {
        QTest::addColumn<QString>("state");
        for (const QString &state : states::all())
            QTest::newRow(qPrintable(state)) << state;
    }
    void everyWindowReadInTheOrderSeen()
    {
        QFETCH(QString, state);
        QWidget *window = states::show(f, state);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QAccessibleInterface *root = QAccessible::queryAccessibleInterface(window);
        QVERIFY(root);
        QStringList found;
        faults(root, found);
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QStringLiteral("\n"))));
    }
};

QTEST_MAIN(tst_reading)
#include "tst_reading.moc"
