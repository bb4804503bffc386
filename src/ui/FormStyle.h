// The look every window shares: Fusion, which honours the forms' own colours, plus
// what the layouts need beyond it.
#pragma once

#include <QProxyStyle>
#include <memory>

class QGroupBox;
#include <memory>

namespace forms {

class FormStyle final : public QProxyStyle
{
    mutable std::unique_ptr<QStyle>
        m_classic; // the classic Windows style, for its title measure, made when first drawn

public:
    FormStyle();

    // Text boxes marked "flatBorder" by their form get one plain black line as their
    // frame, one pixel wide, and their own background.
    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;

    // A group box marked "flatBorder" by its form gets one plain line in its text colour, as the flat frames
    // do; Fusion would draw a faint shade of the background instead. A button marked
    // "graphical" is painted in its own background colour.
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override;

    // Group boxes keep the look the forms were drawn with: the title centred in the
    // rectangle the classic Windows style gives it, and the frame broken off behind
    // the title rather than drawn through it.
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget) const override;

    // A panel, a text or a group box with the keyboard focus (the test window puts it
    // there to have them read out) gets a focus mark: a dotted line inside its edge.
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override;

    // Standard icons are made when first drawn, not when asked for: every menu bar
    // asks for its overflow button's icon, which is seldom drawn, and reading it from
    // its file would load every image plug-in at start-up.
    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;

private:
    static void drawFocusMark(const QRect &rect, QPainter *painter);
    void drawShadedFrame(const QStyleOption &option, const QGroupBox &box, QPainter *painter) const;
};

} // namespace forms
