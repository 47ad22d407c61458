#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QTimer>

class QScrollArea;

// Lets a card or column being dragged reach every part of a scrolled page: the page scrolls while
// the pointer rests near its top or bottom edge, and the wheel scrolls it, which the drag's own
// event handling would otherwise swallow.
class DragScroller final : public QObject
{
    Q_OBJECT

public:
    // Depth of the band along each edge where a resting pointer scrolls the page.
    static constexpr int kEdge = 48;
    // The most the page moves per step, when the pointer is at or past the edge.
    static constexpr int kMaxStep = 24;
    static constexpr int kStepMs = 16;

    explicit DragScroller(QScrollArea* area);
    ~DragScroller() override;

    // Held by a drag source around QDrag::exec.
    class Session
    {
    public:
        Session();
        ~Session();
        Session(const Session&) = delete;
        Session& operator=(const Session&) = delete;
    };

    bool isScrolling() const { return m_timer.isActive(); }
    // The step the pointer at `global` asks for: negative up, positive down, 0 outside the bands.
    int stepFor(const QPoint& global) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void begin();
    void end();
    void step();

    QPointer<QScrollArea> m_area;
    QTimer m_timer;
    QPoint m_pointer;
    bool m_active = false;
};
