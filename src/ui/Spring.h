#pragma once

#include <QVariantAnimation>

namespace Spring {
// Position (0 to 1, may overshoot) of a damped spring after t seconds,
// for a response of `response` seconds and a damping fraction `damping`.
qreal value(qreal t, qreal response, qreal damping);
// Seconds until the spring stays within 0.1 % of its target.
qreal settleTime(qreal response, qreal damping);
} // namespace Spring

// A QVariantAnimation that follows a damped spring from start to end value.
class SpringAnimation final : public QVariantAnimation
{
    Q_OBJECT

public:
    explicit SpringAnimation(qreal response, qreal damping, QObject* parent = nullptr);

    void setSpring(qreal response, qreal damping);

protected:
    QVariant interpolated(const QVariant& from, const QVariant& to, qreal progress) const override;

private:
    qreal m_response;
    qreal m_damping;
};
