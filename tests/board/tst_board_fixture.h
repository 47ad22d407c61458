#pragma once

#include "TestProjects.h"
#include "model/Store.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <memory>

// Shared by the board tests: a store with a known document in the active year, and real drops.
namespace BoardFixture {

inline Project project(const QString& name, Status status, double fee, double outsource = 0,
                       const QString& client = QStringLiteral("Acme"),
                       const QString& category = QStringLiteral("Branding"), int yearOffset = 0)
{
    return TestProjects::make(name, fee, TestProjects::noon(QDate(Store::currentYear() + yearOffset, 3, 14)),
                              status, client, category, outsource);
}

// A store that never writes (sample-only), holding exactly `projects`.
inline std::unique_ptr<Store> store(const QTemporaryDir& dir, const QVector<Project>& projects)
{
    auto s = std::make_unique<Store>(dir.path(), true);
    s->update([&](AppData& d) {
        d = AppData::empty();
        d.projects = projects;
    });
    s->setToast(std::nullopt);
    return s;
}

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
