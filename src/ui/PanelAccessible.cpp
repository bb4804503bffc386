#include "PanelAccessible.h"

#include <QMenu>

#include <algorithm>

namespace forms {

namespace {
// a is read before b: from the top, a box whose top lies above the other's middle comes
// first (boxes that share an edge may overlap by a pixel or two); side by side, each top
// above the other's middle, the left one.
bool readsBefore(const QRect &a, const QRect &b)
{
    const auto above = [](const QRect &x, const QRect &y) { return 2 * x.top() < 2 * y.top() + y.height(); };
    if (above(a, b) != above(b, a))
        return above(a, b);
    return above(a, b) && a.left() < b.left();
}
} // namespace

PanelAccessible::PanelAccessible(QWidget *panel, QAccessible::Role role) : QAccessibleWidget(panel, role) {}

QList<QWidget *> PanelAccessible::readingOrder(const QWidget *panel)
{
    QList<QWidget *> remaining;
    for (QObject *o : panel->children()) {
        auto *w = qobject_cast<QWidget *>(o);
        if (w && !w->isWindow() && !qobject_cast<QMenu *>(w))
            remaining.append(w);
    }
    // "Read before" is no order on rectangles of every shape: take, each time, one that
    // nothing left is read before, or failing that the highest, then leftmost.
    QList<QWidget *> order;
    while (!remaining.isEmpty()) {
        const auto free = [&remaining](const QWidget *w) {
            return std::none_of(remaining.cbegin(), remaining.cend(), [w](const QWidget *other) {
                return other != w && readsBefore(other->geometry(), w->geometry());
            });
        };
        auto next = std::find_if(remaining.begin(), remaining.end(), free);
        if (next == remaining.end())
            next = std::min_element(remaining.begin(), remaining.end(), [](const QWidget *a, const QWidget *b) {
                return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
            });
        order.append(*next);
        remaining.erase(next);
    }
    return order;
}

int PanelAccessible::childCount() const
{
    return static_cast<int>(readingOrder(widget()).size());
}

QAccessibleInterface *PanelAccessible::child(int index) const
{
    return QAccessible::queryAccessibleInterface(readingOrder(widget()).value(index));
}

int PanelAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    if (!child)
        return -1;
    return static_cast<int>(readingOrder(widget()).indexOf(qobject_cast<QWidget *>(child->object())));
}

} // namespace forms
