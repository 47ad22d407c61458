#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QFont>

// A plain button showing a tinted symbol, optionally followed by a text and optionally on a filled
// circle. Its whole rectangle is clickable.
class GlyphButton final : public QAbstractButton
{
    Q_OBJECT

public:
    struct Look
    {
        QString symbol;
        QColor tint;
        int symbolSize = 10;
        QFont::Weight weight = QFont::Normal;
        int side = 24;  // the square frame when there is no text
        QColor circle;  // invalid: nothing behind the symbol
        QFont textFont; // used when the button has a text
    };

    explicit GlyphButton(const Look& look, QWidget* parent = nullptr);

    const Look& look() const { return m_look; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Look m_look;
    // The focus ring shows only for focus that came from the keyboard.
};
