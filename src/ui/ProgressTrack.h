#pragma once

#include <QWidget>

class QVariantAnimation;

// A horizontal capsule bar: brand fill over the track, width × value (never below 0).
class ProgressTrack final : public QWidget
{
    Q_OBJECT

public:
    ProgressTrack(double value, int height, QWidget* parent = nullptr);

    // Animates to the new value (0.4 s ease-out) unless animations are off.
    void setValue(double value);
    double value() const { return m_value; }
    // The value being drawn right now (differs from value() while animating).
    double shownValue() const { return m_shown; }
    // The filled capsule's rectangle for the value being drawn; empty when nothing is filled.
    QRectF fillRect() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double m_value;
    double m_shown;
    int m_height;
    QVariantAnimation* m_animation;
};
