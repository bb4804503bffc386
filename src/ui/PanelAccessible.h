// A window or panel of the forms as a screen reader reads it: its controls in the order
// they are seen, from the top and, side by side, from the left, whatever order they are
// stacked in. (Frames that meet edge to edge share a line, and the one drawn over that
// line is not always the one above; a panel brought to the front is stacked last.)
#pragma once

#include <QAccessibleWidget>

namespace forms {

class PanelAccessible final : public QAccessibleWidget
{
public:
    PanelAccessible(QWidget *panel, QAccessible::Role role);

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;

    // The panel's controls (windows of their own and menus left out) in reading order.
    static QList<QWidget *> readingOrder(const QWidget *panel);
};

} // namespace forms
