#pragma once

#include <QWidget>

// The soft shadow of a PanelFrame, a sibling placed just beneath it and a little larger.
class PanelShadow final : public QWidget
{
    Q_OBJECT

public:
    PanelShadow(QWidget* frame, qreal radius);

    // Follows the frame's geometry, visibility and stacking.
    void follow();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* m_frame;
    qreal m_radius;
};
