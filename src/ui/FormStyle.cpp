#include "FormStyle.h"

#include <QGroupBox>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QStyleFactory>
#include <QStyleOption>
#include <qdrawutil.h>

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
    // The whole box: drawPrimitive places the line below the title itself (Qt 6.8's
    // Fusion would already start this rectangle below the title).
    frame.rect = option->rect;
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
    if (box->state & State_HasFocus)
        drawFocusMark(option->rect, painter);
}

void FormStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                            const QWidget *widget) const
{
    QProxyStyle::drawControl(element, option, painter, widget);
    if (element == CE_ShapedFrame && (option->state & State_HasFocus))
        drawFocusMark(option->rect, painter);
}

void FormStyle::drawFocusMark(const QRect &rect, QPainter *painter)
{
    // Two pixels of dots in the yellow of the forms' questions and names: plain on their
    // blue, and inside the edge, where a neighbour does not cover it.
    painter->save();
    QPen pen(QColor(255, 255, 0), 2, Qt::DotLine);
    pen.setCapStyle(Qt::FlatCap);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(QRectF(rect).adjusted(2, 2, -2, -2));
    painter->restore();
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

namespace {
// The shaded frame Fusion drew round group boxes until Qt 6.8 (which draws another, a
// few pixels off): a faint rounded line and a fainter inside, as nine parts. The six
// pixels of each corner are drawn as they are and the middle row and column stretched.
constexpr int kShadeCorner = 6;
constexpr int kShadeSize = 2 * kShadeCorner + 3;
constexpr QRgb T = 0x00ffffff; // clear
constexpr QRgb R = 0x32757575; // the line
constexpr QRgb E = 0x07000000; // just inside it
constexpr QRgb I = 0x03000000; // the inside
constexpr QRgb kShade[kShadeSize][kShadeSize] = {
    {T, T, T, T, T, T, T, T, T, T, T, T, T, T, T},
    {T, 0x0d272727, 0x345d5d5d, 0x346c6c6c, R, R, R, R, R, R, R, R, 0x346c6c6c, 0x37666666, 0x0c151515},
    {T, 0x39626262, 0x1f5a5a5a, 0x0a000000, 0x08000000, E, E, E, E, E, E, 0x08000000, 0x0a000000, 0x1e5e5e5e,
     0x355b5b5b},
    {T, 0x346c6c6c, 0x09000000, I, I, I, I, I, I, I, I, I, I, 0x09000000, 0x346c6c6c},
    {T, R, 0x08000000, I, I, I, I, I, I, I, I, I, I, 0x08000000, R},
    {T, R, E, I, I, I, I, I, I, I, I, I, I, E, R},
    {T, R, E, I, I, I, I, I, I, I, I, I, I, E, R},
    {T, R, E, I, I, I, I, I, I, I, I, I, I, E, R},
    {T, R, E, I, I, I, I, I, I, I, I, I, I, E, R},
    {T, R, E, I, I, I, I, I, I, I, I, I, I, E, R},
    {T, R, E, I, I, I, I, I, I, I, I, I, I, E, R},
    {T, R, 0x08000000, I, I, I, I, I, I, I, I, I, I, 0x08000000, R},
    {T, 0x346c6c6c, 0x09000000, I, I, I, I, I, I, I, I, I, I, 0x09000000, 0x346c6c6c},
    {T, 0x355b5b5b, 0x1e5e5e5e, 0x0a000000, 0x08000000, E, E, E, E, E, E, 0x08000000, 0x0a000000, 0x1f5a5a5a,
     0x39626262},
    {T, 0x0c151515, 0x37666666, 0x346c6c6c, R, R, R, R, R, R, R, R, 0x346c6c6c, 0x345d5d5d, 0x0d272727},
};

const QPixmap &shade()
{
    static const QPixmap pixmap = [] {
        QImage image(kShadeSize, kShadeSize, QImage::Format_ARGB32);
        for (int y = 0; y < kShadeSize; ++y)
            for (int x = 0; x < kShadeSize; ++x)
                image.setPixel(x, y, kShade[y][x]);
        return QPixmap::fromImage(image);
    }();
    return pixmap;
}
} // namespace

void FormStyle::drawShadedFrame(const QStyleOption &option, const QGroupBox &box, QPainter *painter) const
{
    // Below the title (or a small margin without one), as Fusion placed it.
    constexpr int topMargin = 3;
    const int title = box.isCheckable() || !box.title().isEmpty()
                          ? qMax(pixelMetric(PM_ExclusiveIndicatorHeight, &option, &box), option.fontMetrics.height())
                          : 0;
    const QMargins corners(kShadeCorner, kShadeCorner, kShadeCorner, kShadeCorner);
    qDrawBorderPixmap(painter, option.rect.adjusted(0, title + topMargin, 0, 0), corners, shade());
}

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
    if (element != PE_FrameGroupBox || !box) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    if (!box->property("flatBorder").toBool()) {
        drawShadedFrame(*option, *box, painter);
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
