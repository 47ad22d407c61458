#pragma once

#include <QColor>
#include <QWidget>

// A small filled circle of a fixed colour: a status marker.
class ColorDot final : public QWidget
{
    Q_OBJECT

public:
    ColorDot(const QColor& color, int diameter, QWidget* parent = nullptr);

    QColor color() const { return m_color; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_color;
};
