#pragma once

#include <QMenu>
#include <QPointer>
#include <QUuid>

class Store;

// The context menu of one project (on a card or a table row): edit it, move it to another
// status, delete it. Each item calls the Store; the menu itself keeps no state.
class ProjectMenu final : public QMenu
{
    Q_OBJECT

public:
    ProjectMenu(Store& store, const QUuid& projectId, QWidget* parent = nullptr);

    QUuid projectId() const { return m_id; }
    QAction* editAction() const { return m_edit; }
    QMenu* moveMenu() const { return m_move; }
    QAction* deleteAction() const { return m_delete; }

private:
    // Not a reference: a popup can still be open while the window and its store are torn down
    // at quit, and its items must then do nothing.
    QPointer<Store> m_store;
    QUuid m_id;
    QAction* m_edit;
    QMenu* m_move;
    QAction* m_delete;
};
