#pragma once

#include <QScrollBar>

class QAbstractScrollArea;

// The slim scroll bar of the page area: only a cream knob, darker while the pointer is over it.
class CreamScroller final : public QScrollBar
{
    Q_OBJECT

public:
    explicit CreamScroller(Qt::Orientation orientation, QWidget* parent = nullptr);

    bool hovering() const { return m_hovering; }
    // The bar drawn for a knob rectangle; empty when the knob rectangle is empty.
    static QRectF knobBar(const QRectF& knob, Qt::Orientation orientation);
    static QColor knobColor(bool hovering);
    // The knob rectangle from the style's layout of this scroll bar.
    QRectF knobRect() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool m_hovering = false;
};

// Gives the area the cream vertical scroll bar once; a second call leaves it as it is.
void creamScroller(QAbstractScrollArea* area);
