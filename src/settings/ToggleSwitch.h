#pragma once

#include <QAbstractButton>

class QVariantAnimation;

// A small on/off switch: a capsule track, brand-green when on, with a white knob that slides.
class ToggleSwitch final : public QAbstractButton
{
    Q_OBJECT

public:
    explicit ToggleSwitch(QWidget* parent = nullptr);

    QSize sizeHint() const override { return {32, 18}; }
    QSize minimumSizeHint() const override { return sizeHint(); }
    // Where the knob is drawn now: 0 off, 1 on (in between while sliding).
    qreal knobPosition() const { return m_position; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void slide(bool on);

    qreal m_position = 0;
    QVariantAnimation* m_animation;
};
