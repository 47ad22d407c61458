#include "ui/ProgressTrack.h"

#include "ui/AccessibleKit.h"
#include "ui/Animations.h"
#include "ui/Painters.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>
#include <QVariantAnimation>
#include <algorithm>
#include <cmath>

namespace {
double finiteOrZero(double v)
{
    return std::isfinite(v) ? v : 0;
}

// A progress bar from 0 to 100 percent; its text tells the whole value, also past 100.
class ProgressTrackAccessible final : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit ProgressTrackAccessible(ProgressTrack* track)
        : QAccessibleWidget(track, QAccessible::ProgressBar)
    {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return QString::number(std::round(percent())) + QLatin1Char('%');
        return QAccessibleWidget::text(t);
    }
    QVariant currentValue() const override { return std::clamp(percent(), 0.0, 100.0); }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return 100.0; }
    QVariant minimumValue() const override { return 0.0; }
    QVariant minimumStepSize() const override { return 0.0; }

private:
    double percent() const { return static_cast<const ProgressTrack*>(object())->value() * 100; }
};
} // namespace

ProgressTrack::ProgressTrack(double value, int height, QWidget* parent)
    : QWidget(parent), m_value(finiteOrZero(value)), m_shown(m_value), m_height(std::max(1, height)),
      m_animation(new QVariantAnimation(this))
{
    AccessibleKit::install<ProgressTrack, ProgressTrackAccessible>();
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(m_height);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    m_animation->setDuration(400);
    m_animation->setEasingCurve(QEasingCurve::OutCubic);
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        m_shown = v.toDouble();
        update();
    });
}

void ProgressTrack::setValue(double value)
{
    value = finiteOrZero(value);
    if (value == m_value)
        return;
    m_value = value;
    QAccessibleValueChangeEvent changed(this, value * 100);
    QAccessible::updateAccessibility(&changed);
    m_animation->stop();
    if (!Animations::enabled() || !isVisible()) {
        m_shown = value;
        update();
        return;
    }
    m_animation->setStartValue(m_shown);
    m_animation->setEndValue(value);
    m_animation->start();
}

QRectF ProgressTrack::fillRect() const
{
    return Painters::progressFill(QRectF(0, 0, width(), m_height), m_shown);
}

QSize ProgressTrack::sizeHint() const
{
    return QSize(120, m_height);
}

void ProgressTrack::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    Painters::progressTrack(p, QRectF(0, 0, width(), m_height), m_shown);
}
