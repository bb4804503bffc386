#include "formstyle.h"

#include <QGroupBox>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QStyleFactory>
#include <QStyleOption>

namespace forms {

FormStyle::FormStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

namespace {
class DeferredIconEngine final : public QIconEngine
{
public:
    DeferredIconEngine(const QStyle *style, QStyle::StandardPixmap which, const QWidget *widget)
        : m_style(style), m_which(which), m_widget(widget)
    {
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return icon().pixmap(size, scale, mode, state);
    }
    QIconEngine *clone() const override { return new DeferredIconEngine(m_style, m_which, m_widget.data()); }

private:
    const QIcon &icon()
    {
        if (!m_made) {
            m_icon = m_style->standardIcon(m_which, nullptr, m_widget.data());
            m_made = true;
        }
        return m_icon;
    }

    const QStyle *m_style;
    QStyle::StandardPixmap m_which;
    QPointer<const QWidget> m_widget;
    QIcon m_icon;
    bool m_made = false;
};
} // namespace

QIcon FormStyle::standardIcon(StandardPixmap icon, const QStyleOption *option, const QWidget *widget) const
{
    if (option)
        return QProxyStyle::standardIcon(icon, option, widget);
    return QIcon(new DeferredIconEngine(baseStyle(), icon, widget));
}

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
