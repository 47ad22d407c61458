#pragma once

#include "model/Project.h"

#include <QAbstractListModel>
#include <QPointer>
#include <QVector>

class Store;

// The rows of the project table: Store::sortedVisibleProjects(), one project per row. Store changes
// are gathered and read once per turn of the event loop, so a click on a header (which may change
// the sort field and the direction) sorts once. Money texts are formatted only for the rows asked for.
class ProjectTableModel final : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role {
        IdRole = Qt::UserRole + 1, // QUuid
        ClientRole,
        CategoryRole,
        FeeTextRole,
        OutsourceTextRole, // "Outsource: -" and the amount, or empty
        StatusRole,        // Status as int
        StatusTitleRole,
        HasOutsourceRole,
    };

    explicit ProjectTableModel(Store* store, QObject* parent = nullptr);

    const Project& project(int row) const { return m_projects.at(row); }
    const QVector<Project>& projects() const { return m_projects; }
    // Row of a project id, -1 when it is not shown.
    int rowOf(const QUuid& id) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Reads the Store now (a pending read is then dropped).
    void refresh();
    bool refreshPending() const { return m_pending; }

private:
    void scheduleRefresh();

    QPointer<Store> m_store;
    QVector<Project> m_projects;
    bool m_pending = false;
};
