#pragma once

#include <QPushButton>

// The common body of the ink and outline button looks: a capsule with a 12 semibold label and an
// optional symbol before it.
class CapsuleButton : public QPushButton
{
    Q_OBJECT

public:
    QString symbol() const { return m_symbol; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    CapsuleButton(const QString& text, const QString& symbol, QWidget* parent);

    struct Look
    {
        QColor fill;
        QColor stroke;
        QColor text;
        qreal scale = 1;
    };
    virtual Look look(bool pressed) const = 0;
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_symbol;
    // The focus ring shows only for focus that came from the keyboard.
};
