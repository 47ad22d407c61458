#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QFont>

// The round symbol button: a tinted symbol, optionally on a filled circle and optionally followed
// by a text. Its whole rectangle is clickable; keyboard focus shows the shared focus ring.
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
        int side = 24;          // the square frame when there is no text
        QColor circle{};        // invalid: nothing behind the symbol
        QFont textFont{};       // used when the button has a text
        QColor pressedCircle{}; // invalid: the circle a shade darker while pressed
        QColor outline{};       // invalid: none; else a 1-pixel line on the circle's edge
        qreal circleInset = 0;  // how far the circle's edge stays inside the frame
        qreal pressedSymbolOpacity = 1;
    };

    explicit GlyphButton(const Look& look, QWidget* parent = nullptr);
    // The small "xmark" in a cream circle that closes a popover; no pressed look, as it closes at once.
    static Look popoverCloseLook();

    const Look& look() const { return m_look; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Look m_look;
};
