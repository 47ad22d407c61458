#pragma once

#include <QColor>
#include <QWidget>

// A plain rounded card behind other widgets: a fill and a hairline border, nothing else.
class RoundedCard final : public QWidget
{
    Q_OBJECT

public:
    RoundedCard(qreal radius, const QColor& fill, const QColor& border, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qreal m_radius;
    QColor m_fill;
    QColor m_border;
};
