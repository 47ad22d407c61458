#include "ui/ProgressTrack.h"

#include "ui/Painters.h"
#include "ui/Spring.h"

#include <QPainter>
#include <QVariantAnimation>
#include <cmath>

namespace {
double finiteOrZero(double v)
{
    return std::isfinite(v) ? v : 0;
}
} // namespace

ProgressTrack::ProgressTrack(double value, int height, QWidget* parent)
    : QWidget(parent), m_value(finiteOrZero(value)), m_shown(m_value), m_height(std::max(1, height)),
      m_animation(new QVariantAnimation(this))
{
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
