#pragma once

#include "model/Project.h"
#include "model/StoreTypes.h"

#include <QAbstractListModel>
#include <QPointer>
#include <QVector>

class Store;

// One project per row, as a board column or the project table lists them: the rows and what each
// role reads of them, written once for both. Subclasses decide which projects are listed and how
// a change of the Store is reported. Labels ("Outsource: ", "Net: ") are not the model's: each
// presentation adds its own (CardList::content, ProjectTable::content).
class ProjectListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role {
        IdRole = Qt::UserRole + 1, // QString: the canonical upper-case id text
        ClientRole,                // QString, as shown
        CategoryRole,              // QString, as shown
        FeeRole,                   // double
        OutsourceRole,             // double
        FeeTextRole,               // QString: the fee in the display currency
        OutsourceTextRole,         // QString: the outsource in the display currency; empty when there is none
        NetTextRole,               // QString: fee less outsource in the display currency
        StatusRole,                // int: the Status
        StatusTitleRole,           // QString: the status's upper-case title ("PAID" / "ÖDENDİ")
        DueTextRole, // QString: "Due in 5 days", "12 days overdue"; empty when not pending with a due day
        OverdueRole, // bool: pending and past its due day
    };

    const Project& project(int row) const { return m_projects.at(row); }
    const QVector<Project>& projects() const { return m_projects; }
    // The row of a project, or -1 when it is not listed.
    int rowOf(const QUuid& id) const;
    // The interface language (English once the Store is gone).
    AppLanguage language() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

protected:
    ProjectListModel(Store& store, QObject* parent);

    Store& m_store;
    QVector<Project> m_projects;
};
