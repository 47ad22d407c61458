#include "ui/Spring.h"

#include <QtMath>
#include <algorithm>
#include <cmath>

namespace Spring {
qreal value(qreal t, qreal response, qreal damping)
{
    if (t <= 0)
        return 0;
    if (!(response > 0))
        return 1;
    const qreal w = 2 * M_PI / response;
    const qreal z = std::max<qreal>(0, damping);
    if (z < 1) {
        const qreal wd = w * std::sqrt(1 - z * z);
        return 1 - std::exp(-z * w * t) * (std::cos(wd * t) + (z * w / wd) * std::sin(wd * t));
    }
    if (z == 1)
        return 1 - std::exp(-w * t) * (1 + w * t);
    // Overdamped: two real decay rates.
    const qreal s = w * std::sqrt(z * z - 1);
    const qreal r1 = -z * w + s;
    const qreal r2 = -z * w - s;
    return 1 - (r2 * std::exp(r1 * t) - r1 * std::exp(r2 * t)) / (r2 - r1);
}

qreal settleTime(qreal response, qreal damping)
{
    if (!(response > 0))
        return 0;
    constexpr qreal tolerance = 0.001;
    constexpr qreal step = 0.001;
    // Past this the decaying envelope alone keeps it inside the tolerance.
    const qreal w = 2 * M_PI / response;
    const qreal z = std::max<qreal>(damping, 0.05);
    const qreal bound = z < 1 ? std::sqrt(1 / (1 - z * z)) : 1.0;
    const qreal rate = z <= 1 ? z * w : z * w - w * std::sqrt(z * z - 1);
    const qreal limit = std::min<qreal>(60, std::log(bound * 20 / tolerance) / rate + step);
    qreal last = 0;
    for (qreal t = 0; t <= limit; t += step) {
        if (std::abs(1 - value(t, response, damping)) > tolerance)
            last = t;
    }
    return last + step;
}
} // namespace Spring

SpringAnimation::SpringAnimation(qreal response, qreal damping, QObject* parent) : QVariantAnimation(parent)
{
    setSpring(response, damping);
}

void SpringAnimation::setSpring(qreal response, qreal damping)
{
    m_response = response;
    m_damping = damping;
    setDuration(std::max(1, qRound(Spring::settleTime(response, damping) * 1000)));
    // The spring position replaces the usual eased progress; the interpolators then overshoot with it.
    setEasingCurve(QEasingCurve::Linear);
}

QVariant SpringAnimation::interpolated(const QVariant& from, const QVariant& to, qreal progress) const
{
    if (progress >= 1)
        return to;
    const qreal x = Spring::value(progress * duration() / 1000.0, m_response, m_damping);
    return QVariantAnimation::interpolated(from, to, x);
}
