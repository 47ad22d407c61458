#pragma once

#include <QObject>
#include <QRectF>
#include <QUuid>

class ProjectList;
class QKeyEvent;
class QPainter;

// The keyboard's place among the items of a ProjectList: Tab enters the list, the arrow keys,
// Home and End move between its items, Return opens the editor, and the menu key or Shift+F10
// opens the project menu. Keys that reach past one list (BoardKey) go to the list, which takes
// them when it is a board column. The place follows its project through changes of the list. A
// screen reader hears each move as the focus going to that item. No key does anything while the
// editor is open.
class ProjectCursor final : public QObject
{
public:
    enum class BoardKey {
        left,      // to the nearest card of the column on the left
        right,     // to the nearest card of the column on the right
        carryLeft, // the card itself into the column on the left
        carryRight,
        remove,
        newProject,
    };

    // Watches the list's keys and focus itself; the list only paints the ring.
    explicit ProjectCursor(ProjectList* list);

    // The row the keyboard is on, or -1.
    int row() const;
    QUuid projectId() const { return m_id; }
    void setRow(int row);

    // The focus ring around `item`, the current one's, when the list has the keyboard focus.
    void paintRing(QPainter& p, const QRectF& item, qreal radius) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // True when the key was one of the cursor's.
    bool handleKey(QKeyEvent* event);
    void moved();

    // The list owns the cursor and outlives it.
    ProjectList* m_list;
    QUuid m_id;
};
