// Every window against the layout table it is generated from: geometry, colours,
// fonts, stacking, tab order, initial states, cursors and names for screen readers.
#include "app/DetailsWindow.h"
#include "app/Program.h"
#include "braintest/TestWindow.h"
#include "exit/ExitScreen.h"
#include "fakes.h"
#include "ui/forms.h"
#include "web/AboutDialog.h"
#include "widgets.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>
#include <QtTest>

namespace {

struct Row
{
    QString window, control, kind, in, text, font, colours, other;
    int left = 0, top = 0, width = 0, height = 0;
};

QList<Row> table()
{
    QList<Row> rows;
    QFile file(QStringLiteral(BRENVO_LAYOUT_TABLE));
    if (!file.open(QIODevice::ReadOnly))
        return rows;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList c = QString::fromUtf8(lines[i]).split(u'\t');
        if (c.size() < 12)
            continue;
        Row r{c[0], c[1], c[2], c[3], c[4], c[9], c[10], c[11]};
        r.left = c[5].toInt();
        r.top = c[6].toInt();
        r.width = c[7].toInt();
        r.height = c[8].toInt();
        rows.append(r);
    }
    return rows;
}

int px(int twips)
{
    return int(std::lround(twips / 15.0));
}

QColor rgb(const QString &triple)
{
    const QStringList p = triple.split(u',');
    return QColor(p[0].toInt(), p[1].toInt(), p[2].toInt());
}

QString colourPart(const QString &colours, const QString &prefix)
{
    for (const QString &part : colours.split(u';')) {
        const QString t = part.trimmed();
        if (t.startsWith(prefix) && !t.contains(QLatin1String("system")))
            return t.mid(prefix.size());
    }
    return {};
}

// True when a control earlier in the table (in front) has the same container, place
// and size: it lies wholly behind it.
bool coveredInTable(const QList<Row> &rows, const Row &r)
{
    for (const Row &o : rows) {
        if (o.control == r.control && o.window == r.window)
            return false;
        if (o.window == r.window && o.in == r.in && o.left == r.left && o.top == r.top && o.width == r.width
            && o.height == r.height)
            return true;
    }
    return false;
}

// The control lies wholly outside its container (below or right of its edge).
bool outsideInTable(const QList<Row> &rows, const Row &r)
{
    for (const Row &o : rows)
        if (o.window == r.window && o.control == r.in)
            return r.top >= o.height || r.left >= o.width;
    return false;
}

// Two controls of the table share a pixel.
bool overlapInTable(const Row &a, const Row &b)
{
    const auto px = [](int twips) { return (twips + 7) / 15; };
    const QRect ra(px(a.left), px(a.top), px(a.width), px(a.height));
    const QRect rb(px(b.left), px(b.top), px(b.width), px(b.height));
    return ra.intersects(rb);
}

QWidget *windowNamed(const QString &name)
{
    if (name == QLatin1String("frmMain"))
        return fakes::program().details();
    if (name == QLatin1String("frmDisplay"))
        return fakes::program().testWindow();
    if (name == QLatin1String("frmAbout"))
        return new AboutDialog(*fakes::program().services().urlOpener, fakes::program().details());
    return fakes::program().exitScreen();
}

} // namespace

class tst_layouts : public QObject
{
    Q_OBJECT
    fakes::Installed f{};

    void addRows()
    {
        QTest::addColumn<int>("index");
        const QList<Row> rows = table();
        for (int i = 0; i < rows.size(); ++i)
            QTest::addRow("%s %s", qPrintable(rows[i].window), qPrintable(rows[i].control)) << i;
    }

private slots:
    void initTestCase()
    {
        fakes::prepareApplication();
        QVERIFY(table().size() > 80);
    }
    void init() { f = fakes::resetProgram(); }
    void cleanup() { fakes::resetProgram(); }

    void clientAreas_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QSize>("client");
        QTest::newRow("details") << "frmMain" << QSize(377, 338);
        QTest::newRow("test") << "frmDisplay" << QSize(569, 449);
        QTest::newRow("about") << "frmAbout" << QSize(422, 267);
        QTest::newRow("exit screen") << "frmExitScreen" << QSize(741, 315);
    }
    void clientAreas()
    {
        QFETCH(QString, window);
        QFETCH(QSize, client);
        QWidget *w = windowNamed(window);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        auto *main = qobject_cast<QMainWindow *>(w);
        QCOMPARE(main ? main->centralWidget()->size() : w->size(), client);
        // Fixed: no resizing, and no minimise or maximise button.
        QCOMPARE(w->minimumSize(), w->maximumSize());
        QVERIFY(!w->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(!w->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(w->windowFlags().testFlag(Qt::WindowCloseButtonHint));
        // Centred on the screen at first show.
        const QPoint centre = w->screen()->availableGeometry().center();
        QVERIFY(qAbs(w->frameGeometry().center().x() - centre.x()) <= 2);
        QVERIFY(qAbs(w->frameGeometry().center().y() - centre.y()) <= 2);
        QVERIFY(!w->windowIcon().isNull());
        w->close();
    }

    void everyControlAsDesigned_data() { addRows(); }
    void everyControlAsDesigned()
    {
        QFETCH(int, index);
        const Row r = table().at(index);
        QWidget *window = windowNamed(r.window);
        auto *w = window->findChild<QWidget *>(r.control);
        QVERIFY2(w, qPrintable(r.control));
        w->ensurePolished();
        const QString container = r.in == QLatin1String("window") ? QString() : r.in;
        if (!container.isEmpty())
            QCOMPARE(w->parentWidget()->objectName(), container);

        // Geometry, relative to the container's outer top left corner.
        const bool autoSize = r.other.contains(QLatin1String("auto-size"));
        QCOMPARE(w->x(), px(r.left));
        QCOMPARE(w->y(), px(r.top));
        if (r.kind == QLatin1String("line")) {
            QCOMPARE(w->width(), px(r.width));
        } else if (!autoSize) {
            QCOMPARE(w->width(), px(r.width));
            QCOMPARE(w->height(), px(r.height));
        } else {
            // Sized by its text, which it shows whole, inside its container.
            QVERIFY(w->width() >= static_cast<QLabel *>(w)->sizeHint().width());
            QVERIFY2(w->geometry().right() < w->parentWidget()->width(), qPrintable(r.control));
        }

        // Colours.
        const QString fg = colourPart(r.colours, QStringLiteral("text "));
        const QString bg = colourPart(r.colours, QStringLiteral("back "));
        const QPalette p = w->palette();
        if (qobject_cast<QLabel *>(w) && !r.control.startsWith(QLatin1String("pic"))) {
            if (!fg.isEmpty())
                QCOMPARE(p.color(QPalette::Active, QPalette::WindowText), rgb(fg));
            QCOMPARE(w->autoFillBackground(), !r.colours.contains(QLatin1String("transparent")));
        } else if (qobject_cast<QAbstractButton *>(w) && !qobject_cast<QRadioButton *>(w)) {
            if (!bg.isEmpty())
                QCOMPARE(p.color(QPalette::Active, QPalette::Button), rgb(bg));
            if (!fg.isEmpty())
                QCOMPARE(p.color(QPalette::Active, QPalette::ButtonText), rgb(fg));
            // A graphical button's face is its own colour, beside its text as at its middle.
            if (r.other.contains(QLatin1String("graphical")) && !bg.isEmpty()) {
                const QImage face = w->grab().toImage();
                const qreal scale = face.devicePixelRatio();
                QCOMPARE(QColor(face.pixel(int(3 * scale), face.height() / 2)), rgb(bg));
            }
        } else if (qobject_cast<QRadioButton *>(w)) {
            QCOMPARE(p.color(QPalette::Active, QPalette::WindowText), rgb(fg));
        } else if (qobject_cast<QLineEdit *>(w)) {
            if (!fg.isEmpty())
                QCOMPARE(p.color(QPalette::Active, QPalette::Text), rgb(fg));
            if (!bg.isEmpty())
                QCOMPARE(p.color(QPalette::Active, QPalette::Base), rgb(bg));
        } else if (r.kind == QLatin1String("frame") || r.control == QLatin1String("Picture1")) {
            if (!bg.isEmpty())
                QCOMPARE(p.color(QPalette::Active, QPalette::Window), rgb(bg));
            if (!fg.isEmpty())
                QCOMPARE(p.color(QPalette::Active, QPalette::WindowText), rgb(fg));
        } else if (r.kind == QLatin1String("line")) {
            QCOMPARE(p.color(QPalette::Active, QPalette::WindowText), rgb(r.colours));
        }

        // Font: face, size in points (fractions kept), weight and underline.
        static const QRegularExpression fontSpec(QStringLiteral("^(Verdana|MS Sans Serif) ([\\d.]+)(.*)$"));
        const QRegularExpressionMatch m = fontSpec.match(r.font);
        if (m.hasMatch() && !r.control.startsWith(QLatin1String("pic"))) {
            QFont font = w->font();
            // The designed face or its stand-in, and that face really found: a missing font
            // would be drawn in another.
            const QStringList standIns =
                m.captured(1) == QLatin1String("Verdana")
                    ? QStringList{QStringLiteral("DejaVu Sans")}
                    : QStringList{QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Liberation Sans")};
            QVERIFY2(font.family() == m.captured(1) || standIns.contains(font.family()), qPrintable(font.family()));
            QCOMPARE(QFontInfo(font).family(), font.family());
            if (!autoSize || r.window != QLatin1String("frmExitScreen"))
                QCOMPARE(font.pointSizeF(), m.captured(2).toDouble());
            QCOMPARE(font.bold(), m.captured(3).contains(QLatin1String("bold")));
            QCOMPARE(font.underline(), m.captured(3).contains(QLatin1String("underline")));
        }

        // Initial states and pointer. What lies wholly behind a sibling, or wholly outside
        // its frame, is hidden too, out of a screen reader's sight and the tab order.
        QCOMPARE(w->testAttribute(Qt::WA_WState_ExplicitShowHide) && w->testAttribute(Qt::WA_WState_Hidden),
                 r.other.contains(QLatin1String("hidden")) || coveredInTable(table(), r) || outsideInTable(table(), r));
        // The question panel is also out of reach while the result panel covers it.
        if (r.control != QLatin1String("fraQuestion"))
            QCOMPARE(w->testAttribute(Qt::WA_ForceDisabled), r.other.contains(QLatin1String("disabled")));
        QCOMPARE(w->cursor().shape() == Qt::PointingHandCursor, r.other.contains(QLatin1String("hand cursor")));
        if (r.other.contains(QLatin1String("centred text")))
            QVERIFY(static_cast<QLabel *>(w)->alignment() & Qt::AlignHCenter);
        if (r.other.contains(QLatin1String("default button")))
            QVERIFY(w->property("defaultButton").toBool() && w->property("cancelButton").toBool());

        // A screen reader finds every control that shows text or takes input by name:
        // controls with text are read by what they show, never by a fixed name; text
        // boxes by the label or placeholder that explains them.
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
        QVERIFY(iface);
        // Shown without its access-key markers ("&&" is a "&").
        const QString shown = QString(r.text.startsWith(u'@') ? QString() : r.text)
                                  .replace(QRegularExpression(QStringLiteral("&(&?)")), QStringLiteral("\\1"))
                                  .trimmed();
        if (r.kind == QLatin1String("text box") || r.kind == QLatin1String("picture box")) {
            QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(r.control));
            QCOMPARE(iface->text(QAccessible::Name), w->accessibleName());
        } else {
            QVERIFY2(w->accessibleName().isEmpty(), qPrintable(r.control));
            if (!shown.isEmpty() && r.kind != QLatin1String("line"))
                QCOMPARE(iface->text(QAccessible::Name).trimmed(), shown);
        }
    }

    void stackingFollowsTheTable()
    {
        // Of two controls that overlap, the one the table lists first is in front.
        const QList<Row> rows = table();
        for (const QString window : {"frmMain", "frmDisplay", "frmAbout", "frmExitScreen"}) {
            fakes::resetProgram();
            QWidget *w = windowNamed(window);
            for (qsizetype i = 0; i < rows.size(); ++i) {
                for (qsizetype j = i + 1; j < rows.size(); ++j) {
                    const Row &front = rows[i], &back = rows[j];
                    if (front.window != window || back.window != window || front.in != back.in
                        || !overlapInTable(front, back))
                        continue;
                    QWidget *f = w->findChild<QWidget *>(front.control);
                    QWidget *b = w->findChild<QWidget *>(back.control);
                    const QObjectList &stack = f->parentWidget()->children();
                    QVERIFY2(stack.indexOf(f) > stack.indexOf(b), qPrintable(window + u' ' + front.control));
                }
            }
        }
    }

    void tabOrderFollowsTheTable()
    {
        const QList<Row> rows = table();
        static const QRegularExpression tab(QStringLiteral("tab (\\d+)"));
        for (const QString window : {"frmMain", "frmDisplay", "frmAbout", "frmExitScreen"}) {
            fakes::resetProgram();
            QWidget *w = windowNamed(window);
            QMap<int, QString> byIndex;
            for (const Row &r : rows)
                if (r.window == window && w->findChild<QWidget *>(r.control)->focusPolicy() & Qt::TabFocus)
                    byIndex.insert(tab.match(r.other).captured(1).toInt(), r.control);
            const QStringList expected = byIndex.values();
            QStringList chain;
            QWidget *first = w->findChild<QWidget *>(expected.first());
            QWidget *next = first;
            do {
                if (next->focusPolicy() & Qt::TabFocus && expected.contains(next->objectName()))
                    chain << next->objectName();
                next = next->nextInFocusChain();
            } while (next != first && chain.size() < expected.size());
            QCOMPARE(chain, expected);
        }
    }

    void tabReachesTheDetailsInOrder()
    {
        DetailsWindow *w = fakes::program().details();
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QStringList order;
        for (int i = 0; i < 5; ++i) {
            order << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        // The two option buttons are one choice and take one stop; arrows move between them.
        QCOMPARE(order, QStringList({"txtName", "cmdNext", "cmdExit", "optFemale", "txtName"}));
    }

    void aboutWindowStaysOutOfTheTaskBar()
    {
        // Opened from its menu, the about window is a modal dialog of the window it was
        // opened over: transient for it, with no task bar entry of its own.
        DetailsWindow *owner = fakes::program().details();
        owner->show();
        QWidget *parent = nullptr;
        bool dialog = false;
        bool checked = false;
        QTimer::singleShot(0, this, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            checked = modal != nullptr;
            if (!modal)
                return;
            parent = modal->parentWidget();
            dialog = modal->windowType() == Qt::Dialog && modal->isModal();
            modal->close();
        });
        TRIGGER(owner, "mnuAbout");
        QVERIFY(checked);
        QCOMPARE(parent, owner);
        QVERIFY(dialog);
        QVERIFY(!fakes::program().exitScreen()->parentWidget());
    }

    void scaledWindowsKeepTheirText()
    {
        // Run again with QT_SCALE_FACTOR=2: everything doubles, nothing is cut off. A
        // window comes up in the middle of the screen (offscreen: 800 x 800), or, larger
        // than the screen as most are at 2, with its top left (its title bar) on it.
        const qreal ratio = qEnvironmentVariableIntValue("QT_SCALE_FACTOR") > 1 ? 2.0 : 1.0;
        for (const QString window : {"frmMain", "frmDisplay", "frmAbout", "frmExitScreen"}) {
            fakes::resetProgram();
            QWidget *w = windowNamed(window);
            w->show();
            QVERIFY(QTest::qWaitForWindowExposed(w));
            QCOMPARE(w->devicePixelRatioF(), ratio);
            const QRect available = w->screen()->availableGeometry();
            const QRect frame = w->frameGeometry();
            // Each way on its own: centred where it fits, from the screen's edge where not.
            const auto placed = [](int start, int length, int availableStart, int availableLength) {
                return length > availableLength ? start == availableStart
                                                : qAbs(2 * (start - availableStart) + length - availableLength) <= 2;
            };
            QVERIFY2(placed(frame.x(), frame.width(), available.x(), available.width()), qPrintable(window));
            QVERIFY2(placed(frame.y(), frame.height(), available.y(), available.height()), qPrintable(window));
            for (QLabel *label : w->findChildren<QLabel *>()) {
                if (label->wordWrap() || label->text().isEmpty() || !label->isVisibleTo(w))
                    continue;
                QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(window + u' ' + label->objectName()));
            }
            const QImage image = w->grab().toImage();
            QCOMPARE(image.size(), w->size() * ratio);
        }
    }
};

QTEST_MAIN(tst_layouts)
#include "tst_layouts.moc"
