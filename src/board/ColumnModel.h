#pragma once

#include "model/Project.h"
#include "model/Status.h"

#include <QAbstractListModel>
#include <QPointer>
#include <QVector>

class Store;

// The projects of one board column (Store::projects(in:)), kept in step with the Store by
// diffing: a move between columns is one removed row here and one inserted row there, so views
// only re-lay out what changed.
class ColumnModel final : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role {
        IdRole = Qt::UserRole + 1, // canonical upper-case id text
        ClientRole,
        CategoryRole,
        FeeRole,
        OutsourceRole,
        FeeTextRole,
        OutsourceTextRole,
        NetTextRole,
        StatusRole, // raw value
    };

    ColumnModel(Store* store, Status status, QObject* parent = nullptr);

    Status status() const { return m_status; }
    const Project& project(int row) const { return m_projects.at(row); }
    const QVector<Project>& projects() const { return m_projects; }
    // The row of a project, or -1.
    int rowOf(const QUuid& id) const;
    double feeSum() const { return m_feeSum; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Reads the Store again and reports the difference as row changes.
    void refresh();

signals:
    // The fee sum or the count may have changed (the header redraws).
    void summaryChanged();

private:
    // Inserts from[begin, end) at row `at` of our own list.
    void spliceIn(int at, const QVector<Project>& from, int begin, int end);
    void recomputeSum();

    QPointer<Store> m_store;
    Status m_status;
    QVector<Project> m_projects;
    double m_feeSum = 0;
};
