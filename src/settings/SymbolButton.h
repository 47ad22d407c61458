#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QFont>

// A small plain button showing only a tinted symbol, optionally on a filled circle.
class SymbolButton final : public QAbstractButton
{
    Q_OBJECT

public:
    struct Look
    {
        QString symbol;
        QColor tint;
        int symbolSize = 10;
        QFont::Weight weight = QFont::Normal;
        int side = 24; // the square, clickable as a whole
        QColor circle; // invalid: no circle behind the symbol
    };

    explicit SymbolButton(const Look& look, QWidget* parent = nullptr);

    const Look& look() const { return m_look; }
    QSize sizeHint() const override { return {m_look.side, m_look.side}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Look m_look;
    // The focus ring shows only for focus that came from the keyboard.
};
