#pragma once

#include "BoardData.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QMimeData>

// Shared by the board tests: real drops (the store and projects come from BoardData.h).
namespace BoardFixture {

// Sends a drag entering the widget and then dropping the text on it; true when the drop was
// accepted.
inline bool drop(QWidget* target, const QString& text)
{
    QMimeData mime;
    mime.setText(text);
    const QPoint at(target->width() / 2, target->height() / 2);
    QDragEnterEvent enter(at, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent dropEvent(QPointF(at), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    dropEvent.setAccepted(false);
    QApplication::sendEvent(target, &dropEvent);
    return dropEvent.isAccepted();
}

inline void enter(QWidget* target, const QString& text)
{
    QMimeData mime;
    mime.setText(text);
    QDragEnterEvent e(QPoint(5, 5), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &e);
}

inline void leave(QWidget* target)
{
    QDragLeaveEvent e;
    QApplication::sendEvent(target, &e);
}

inline Status statusOf(const Store& s, const QUuid& id)
{
    for (const Project& p : s.data().projects) {
        if (p.id == id)
            return p.status;
    }
    return Status::ongoing;
}

inline bool contains(const Store& s, const QUuid& id)
{
    for (const Project& p : s.data().projects) {
        if (p.id == id)
            return true;
    }
    return false;
}

} // namespace BoardFixture
