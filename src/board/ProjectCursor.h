#pragma once

#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QUuid>

class PaintedProjects;
class QKeyEvent;
class QPainter;
class QWidget;

// The keyboard's place among the projects a widget paints: Tab enters the widget, the arrow keys,
// Home and End move between its items, Return opens the editor, and the menu key or Shift+F10
// opens the project menu. The place follows its project through changes of the list. A screen
// reader hears each move as the focus going to that item.
class ProjectCursor final : public QObject
{
public:
    // Watches the widget's keys and focus itself; the widget only paints the ring.
    ProjectCursor(QWidget* widget, PaintedProjects* projects);

    // The row the keyboard is on, or -1.
    int row() const;
    QUuid projectId() const { return m_id; }
    void setRow(int row);

    // The focus ring around `item`, the current one's, when the widget has the keyboard focus.
    void paintRing(QPainter& p, const QRectF& item, qreal radius) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // True when the key was one of the cursor's.
    bool handleKey(QKeyEvent* event);
    void moved();

    QPointer<QWidget> m_widget;
    PaintedProjects* m_projects;
    QUuid m_id;
};
