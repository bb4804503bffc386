#include "platform/accessibility_requests.h"

#include <QAccessible>
#include <QClipboard>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QGuiApplication>
#include <QPointer>
#include <QRect>

namespace platform {
namespace {

// Where Qt's bridge serves every accessible object, one path below it each.
const QString kObjectsPath = QStringLiteral("/org/a11y/atspi/accessible");
const QString kText = QStringLiteral("org.a11y.atspi.Text");
const QString kEditableText = QStringLiteral("org.a11y.atspi.EditableText");

// AT-SPI's coordinate types.
enum CoordType : uint { Screen = 0, Window = 1, Parent = 2 };

QAccessibleInterface *interfaceAt(const QString &path)
{
    bool ok = false;
    const QAccessible::Id id = path.mid(kObjectsPath.size() + 1).toUInt(&ok);
    return ok ? QAccessible::accessibleInterface(id) : nullptr;
}

QRect fromScreen(QAccessibleInterface *iface, QRect rect, uint coordType)
{
    QAccessibleInterface *upper = nullptr;
    if (coordType == Window) {
        upper = iface;
        while (upper->parent() && upper->parent()->role() != QAccessible::Application)
            upper = upper->parent();
    } else if (coordType == Parent) {
        upper = iface->parent();
    }
    if (upper)
        rect.translate(-upper->rect().topLeft());
    return rect;
}

// Stands in front of Qt's own adaptor on its path: the few requests below are answered
// here, everything else goes on to it unchanged.
class BoundedRequests final : public QDBusVirtualObject
{
public:
    explicit BoundedRequests(QDBusVirtualObject *qt) : m_qt(qt) {}

    QString introspect(const QString &path) const override { return m_qt ? m_qt->introspect(path) : QString(); }

    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        const QString member = message.member();
        const QVariantList args = message.arguments();
        const bool extents = message.interface() == kText && member == QLatin1String("GetRangeExtents");
        const bool insert = message.interface() == kEditableText
                            && (member == QLatin1String("InsertText") || member == QLatin1String("PasteText"));
        if (!extents && !insert)
            return m_qt && m_qt->handleMessage(message, connection);
        QAccessibleInterface *iface = interfaceAt(message.path());
        if (!iface || args.size() < (extents ? 3 : member == QLatin1String("InsertText") ? 3 : 1)) {
            connection.send(message.createErrorReply(QDBusError::InvalidArgs, QStringLiteral("no such text")));
            return true;
        }
        if (extents) {
            const QRect r = rangeExtents(iface, args[0].toInt(), args[1].toInt(), args[2].toUInt());
            connection.send(message.createReply(QVariantList{r.x(), r.y(), r.width(), r.height()}));
        } else
            connection.send(message.createReply(insertText(iface, member, args)));
        return true;
    }

private:
    // The rectangle round the characters from start to end (end -1: to the end of the
    // text), the range cut to the text first: Qt's own loop runs to the range's end.
    static QRect rangeExtents(QAccessibleInterface *iface, int start, int end, uint coordType)
    {
        QAccessibleTextInterface *text = iface->textInterface();
        if (!text)
            return {};
        const int count = text->characterCount();
        if (end == -1 || end > count)
            end = count;
        start = qMax(0, start);
        if (end <= start)
            return {};
        QRect rect;
        for (int i = start; i < end; ++i)
            rect |= text->characterRect(i);
        return fromScreen(iface, rect, coordType);
    }

    // Text inserted at a position within the text, no longer than it says: Qt would make
    // the string as long as the request says, and insert at the position as asked.
    static bool insertText(QAccessibleInterface *iface, const QString &member, const QVariantList &args)
    {
        QAccessibleEditableTextInterface *edit = iface->editableTextInterface();
        QAccessibleTextInterface *text = iface->textInterface();
        if (!edit || !text)
            return false;
        const int position = qBound(0, args[0].toInt(), text->characterCount());
        QString inserted;
        if (member == QLatin1String("InsertText"))
            inserted = args[1].toString().left(qMax(0, args[2].toInt()));
        else if (QClipboard *clipboard = QGuiApplication::clipboard())
            inserted = clipboard->text();
        edit->insertText(position, inserted);
        return true;
    }

    QPointer<QDBusVirtualObject> m_qt;
};

// Qt's bridge talks on the accessibility bus (its connection named "a11y").
bool standInFront(QDBusConnection connection)
{
    if (!connection.isConnected())
        return false;
    auto *qt = qobject_cast<QDBusVirtualObject *>(connection.objectRegisteredAt(kObjectsPath));
    if (!qt)
        return false;
    if (dynamic_cast<BoundedRequests *>(qt))
        return true;
    auto *front = new BoundedRequests(qt);
    front->setParent(qt); // goes with Qt's adaptor
    connection.unregisterObject(kObjectsPath, QDBusConnection::UnregisterNode);
    if (connection.registerVirtualObject(kObjectsPath, front, QDBusConnection::SubPath))
        return true;
    connection.registerVirtualObject(kObjectsPath, qt, QDBusConnection::SubPath); // as it was
    delete front;
    return false;
}

} // namespace

void answerUnboundedAccessibilityRequests()
{
    static bool done = false;
    if (done || !QAccessible::isActive())
        return;
    done = standInFront(QDBusConnection(QStringLiteral("a11y")));
}

} // namespace platform
