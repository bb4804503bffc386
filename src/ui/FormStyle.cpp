#include "FormStyle.h"

#include <QGroupBox>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QStyleFactory>
#include <QStyleOption>

namespace forms {

FormStyle::FormStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

void FormStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                                   const QWidget *widget) const
{
    const auto *box = qstyleoption_cast<const QStyleOptionGroupBox *>(option);
    if (control != CC_GroupBox || !box || (box->subControls & SC_GroupBoxCheckBox)) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    QRect label;
    const bool titled = !box->text.isEmpty();
    if (titled) {
        label = subControlRect(CC_GroupBox, option, SC_GroupBoxLabel, widget);
        if (!m_classic)
            m_classic.reset(QStyleFactory::create(QStringLiteral("Windows")));
        label.setSize(
            label.size().expandedTo(m_classic->subControlRect(CC_GroupBox, option, SC_GroupBoxLabel, widget).size()));
        painter->save();
        painter->setClipRegion(QRegion(option->rect) - label);
    }
    QStyleOptionFrame frame;
    frame.QStyleOption::operator=(*box);
    frame.features = box->features;
    frame.lineWidth = box->lineWidth;
    frame.midLineWidth = box->midLineWidth;
    frame.rect = subControlRect(CC_GroupBox, option, SC_GroupBoxFrame, widget);
    drawPrimitive(PE_FrameGroupBox, &frame, painter, widget);
    if (titled) {
        painter->restore();
        int alignment = Qt::AlignCenter | Qt::TextShowMnemonic;
        if (!styleHint(SH_UnderlineShortcut, option, widget))
            alignment |= Qt::TextHideMnemonic;
        QPalette palette = box->palette;
        if (box->textColor.isValid())
            palette.setColor(QPalette::WindowText, box->textColor);
        drawItemText(painter, label, alignment, palette, box->state & State_Enabled, box->text, QPalette::WindowText);
    }
}

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

namespace {
bool flat(const QWidget *widget)
{
    return widget && widget->property("flatBorder").toBool();
}
} // namespace

int FormStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    if (metric == PM_DefaultFrameWidth && flat(widget) && !qobject_cast<const QGroupBox *>(widget))
        return 1;
    return QProxyStyle::pixelMetric(metric, option, widget);
}

void FormStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                              const QWidget *widget) const
{
    if ((element == PE_PanelLineEdit || element == PE_Frame) && flat(widget)
        && !qobject_cast<const QGroupBox *>(widget)) {
        painter->save();
        if (element == PE_PanelLineEdit)
            painter->fillRect(option->rect, option->palette.brush(QPalette::Base));
        // One pixel of the layout wide, at any scale: four filled edges.
        const QRect r = option->rect;
        for (const QRect &edge : {QRect(r.left(), r.top(), r.width(), 1), QRect(r.left(), r.bottom(), r.width(), 1),
                                  QRect(r.left(), r.top(), 1, r.height()), QRect(r.right(), r.top(), 1, r.height())})
            painter->fillRect(edge, Qt::black);
        painter->restore();
        return;
    }
    if (element == PE_PanelButtonCommand && widget && widget->property("graphical").toBool()) {
        // Fusion's rim and focus, then the face in the button's own colour, flat:
        // Fusion would shade it into a near-white gradient.
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        painter->fillRect(option->rect.adjusted(1, 1, -1, -1), option->palette.brush(QPalette::Button));
        return;
    }
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
