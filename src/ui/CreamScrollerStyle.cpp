#include "ui/CreamScrollerStyle.h"

#include <QApplication>
#include <QPointer>
#include <QStyleFactory>
#include <QStyleOptionSlider>

CreamScrollerStyle::CreamScrollerStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

CreamScrollerStyle* CreamScrollerStyle::shared()
{
    static QPointer<CreamScrollerStyle> style;
    if (!style) {
        style = new CreamScrollerStyle;
        style->setParent(qApp);
    }
    return style;
}

int CreamScrollerStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                    const QWidget* widget) const
{
    switch (metric) {
    case PM_ScrollBarExtent:
        return kExtent;
    case PM_ScrollBarSliderMin:
        return kMinimumKnob;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

QRect CreamScrollerStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                         SubControl sub, const QWidget* widget) const
{
    const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
    if (control != CC_ScrollBar || !bar)
        return QProxyStyle::subControlRect(control, option, sub, widget);

    const QRect r = bar->rect;
    const bool horizontal = bar->orientation == Qt::Horizontal;
    const int length = horizontal ? r.width() : r.height();
    const qint64 range = qint64(bar->maximum) - bar->minimum;
    int knob = length;
    if (range > 0) {
        knob = int(qint64(length) * bar->pageStep / (range + bar->pageStep));
        knob = std::clamp(knob, std::min(kMinimumKnob, length), length);
    }
    const int start = sliderPositionFromValue(bar->minimum, bar->maximum, bar->sliderPosition, length - knob,
                                              bar->upsideDown);
    auto along = [&](int from, int size) {
        return horizontal ? QRect(r.left() + from, r.top(), size, r.height())
                          : QRect(r.left(), r.top() + from, r.width(), size);
    };
    switch (sub) {
    case SC_ScrollBarSlider:
        return along(start, knob);
    case SC_ScrollBarSubPage:
        return along(0, start);
    case SC_ScrollBarAddPage:
        return along(start + knob, length - start - knob);
    case SC_ScrollBarGroove:
        return r;
    case SC_ScrollBarAddLine:
    case SC_ScrollBarSubLine:
    case SC_ScrollBarFirst:
    case SC_ScrollBarLast:
        return {};
    default:
        return QProxyStyle::subControlRect(control, option, sub, widget);
    }
}

QStyle::SubControl CreamScrollerStyle::hitTestComplexControl(ComplexControl control,
                                                             const QStyleOptionComplex* option,
                                                             const QPoint& pos, const QWidget* widget) const
{
    if (control != CC_ScrollBar)
        return QProxyStyle::hitTestComplexControl(control, option, pos, widget);
    for (SubControl sub : {SC_ScrollBarSlider, SC_ScrollBarSubPage, SC_ScrollBarAddPage}) {
        if (subControlRect(control, option, sub, widget).contains(pos))
            return sub;
    }
    return SC_None;
}

int CreamScrollerStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                                  QStyleHintReturn* returnData) const
{
    // Clicking the empty part of the bar jumps there, as overlay scroll bars do.
    if (hint == SH_ScrollBar_LeftClickAbsolutePosition)
        return true;
    if (hint == SH_ScrollBar_ContextMenu)
        return false;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}
