#pragma once

#include <QProxyStyle>

// Lays out a CreamScroller: no arrow buttons, the knob running along the whole bar, so the style's
// hit testing matches what the scroller draws.
class CreamScrollerStyle final : public QProxyStyle
{
    Q_OBJECT

public:
    static constexpr int kExtent = 12;
    static constexpr int kMinimumKnob = 24;

    // One instance for all scrollers, owned by the application.
    static CreamScrollerStyle* shared();

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget = nullptr) const override;
    SubControl hitTestComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                     const QPoint& pos, const QWidget* widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;

private:
    CreamScrollerStyle();
};
