#pragma once

#include "ui/Painters.h"

#include <QPushButton>

// The common body of the ink, outline and danger button looks: a plate with a 12 semibold label and
// an optional symbol before it, a capsule unless the look gives its corners a radius.
class CapsuleButton : public QPushButton
{
    Q_OBJECT

public:
    QString symbol() const { return m_symbol; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    // `padding`: the room left and right of the content, and above and below it.
    CapsuleButton(const QString& text, const QString& symbol, QWidget* parent, QSize padding = {16, 8});

    struct Look
    {
        QColor fill;
        QColor stroke;
        QColor text;
        qreal scale = 1;
        qreal radius = Painters::kCapsuleRadius; // of the corners
        QColor ring;                             // invalid: the shared focus ring colour
    };
    virtual Look look(bool pressed) const = 0;
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_symbol;
    QSize m_padding;
};
