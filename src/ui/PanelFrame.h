#pragma once

#include <QFrame>
#include <QPointer>

class PanelShadow;
class QVBoxLayout;

// The card frame around a block of content: white rounded card, border outline, and a soft shadow
// that falls outside the frame (drawn by a sibling just beneath it, so it is not clipped).
class PanelFrame : public QFrame
{
    Q_OBJECT

public:
    PanelFrame(int radius, int padding, QWidget* parent = nullptr);
    ~PanelFrame() override;

    int radius() const { return m_radius; }
    int padding() const { return m_padding; }
    // The frame's layout (no spacing of its own; the padding is already around it). Add content here
    // rather than installing another layout.
    QVBoxLayout* body() const { return m_body; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    void syncShadow();

    int m_radius;
    int m_padding;
    QVBoxLayout* m_body;
    QPointer<PanelShadow> m_shadow;
};
