#include "formstyle.h"

#include <QGroupBox>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

namespace forms {

FormStyle::FormStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

void FormStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                              const QWidget *widget) const
{
    const auto *box = qobject_cast<const QGroupBox *>(widget);
    if (element != PE_FrameGroupBox || !box || !box->property("flatBorder").toBool()) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    // The line runs where Fusion draws its frame: below the title's middle.
    const int title = box->title().isEmpty() ? 0 : option->fontMetrics.height() / 2;
    const QRect frame = option->rect.adjusted(0, title, -1, -1);
    painter->save();
    painter->setPen(QPen(option->palette.color(QPalette::WindowText), 0));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(frame);
    painter->restore();
}

} // namespace forms
