#pragma once

#include <QColor>
#include <QWidget>

class QFont;
class QLineEdit;

// A rounded plate behind editor inputs: filled, with a 1-pixel outline inside its edge. The
// invalid-amount outline of the kit lies over it when asked.
class FieldPlate : public QWidget
{
    Q_OBJECT

public:
    FieldPlate(qreal radius, const QColor& fill, const QColor& stroke, QWidget* parent = nullptr);

    // A line edit without chrome of its own, for sitting on a plate.
    static QLineEdit* plainLineEdit(const QFont& font, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qreal m_radius;
    QColor m_fill;
    QColor m_stroke;
};
