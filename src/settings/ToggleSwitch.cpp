#include "settings/ToggleSwitch.h"

#include "ui/Animations.h"
#include "ui/KeyboardFocus.h"
#include "ui/Painters.h"
#include "ui/Theme.h"

#include <QPainter>
#include <QVariantAnimation>

ToggleSwitch::ToggleSwitch(QWidget* parent)
    : QAbstractButton(parent), m_animation(new QVariantAnimation(this))
{
    KeyboardFocus::track(this);
    setCheckable(true);
    setFixedSize(sizeHint());
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    m_animation->setDuration(150);
    m_animation->setEasingCurve(QEasingCurve::OutCubic);
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        m_position = v.toReal();
        update();
    });
    connect(this, &QAbstractButton::toggled, this, &ToggleSwitch::slide);
}

void ToggleSwitch::slide(bool on)
{
    m_animation->stop();
    const qreal target = on ? 1 : 0;
    if (!Animations::enabled() || !isVisible()) {
        m_position = target;
        update();
        return;
    }
    m_animation->setStartValue(m_position);
    m_animation->setEndValue(target);
    m_animation->start();
}

void ToggleSwitch::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        p.setOpacity(0.45);
    const QRectF track(rect());
    QColor off = Theme::track().darker(106);
    QColor fill = off;
    const QColor on = Theme::brand();
    fill.setRgbF(off.redF() + (on.redF() - off.redF()) * m_position,
                 off.greenF() + (on.greenF() - off.greenF()) * m_position,
                 off.blueF() + (on.blueF() - off.blueF()) * m_position);
    Painters::capsule(p, track, fill, m_position < 0.5 ? Theme::border().darker(108) : QColor());

    const qreal inset = 2;
    const qreal d = track.height() - 2 * inset;
    const qreal x = track.left() + inset + (track.width() - 2 * inset - d) * m_position;
    const QRectF knob(x, track.top() + inset, d, d);
    QColor shade = Theme::ink();
    shade.setAlphaF(0.18f);
    Painters::capsule(p, knob.translated(0, 0.6), shade);
    Painters::capsule(p, knob, Qt::white);

    KeyboardFocus::paintRing(p, this, QRectF(rect()));
}
