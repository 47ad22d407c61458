#pragma once

#include <QWidget>

class QVariantAnimation;

// A large one-line amount: shrinks down to 0.6 of its size before it elides, and rolls a new
// value in from below (the old one leaving upwards) when the text changes.
class AmountLabel final : public QWidget
{
    Q_OBJECT

public:
    static constexpr qreal kMinimumScale = 0.6;

    AmountLabel(int pixelSize, QFont::Weight weight, qreal letterSpacing, const QColor& color,
                QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const { return m_text; }
    // The scale the text is drawn at in the current width (between 0.6 and 1).
    qreal fitScale() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void drawLine(QPainter& p, const QString& text, qreal dy, qreal opacity) const;

    QString m_text;
    QString m_previous;
    QColor m_color;
    int m_pixelSize;
    qreal m_roll = 1;
    QVariantAnimation* m_animation;
};
