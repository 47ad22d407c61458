#pragma once

#include <QColor>
#include <QMargins>
#include <QWidget>

class QLineEdit;

// A single-line text field drawn on its own plate (a capsule, or a rounded rectangle), the
// platform's field chrome turned off.
class FieldFrame final : public QWidget
{
    Q_OBJECT

public:
    struct Look
    {
        qreal radius = -1; // below 0: a capsule
        QColor fill;
        QColor stroke;
        QMargins padding;
        QFont font;
    };

    explicit FieldFrame(const Look& look, QWidget* parent = nullptr);

    QLineEdit* lineEdit() const { return m_edit; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Look m_look;
    QLineEdit* m_edit;
};
