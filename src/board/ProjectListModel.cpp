#include "board/ProjectListModel.h"

#include "model/Payments.h"
#include "model/Store.h"
#include "model/Text.h"
#include "ui/StatusStyle.h"

ProjectListModel::ProjectListModel(Store& store, QObject* parent) : QAbstractListModel(parent), m_store(store)
{}

int ProjectListModel::rowOf(const QUuid& id) const
{
    for (qsizetype i = 0; i < m_projects.size(); ++i) {
        if (m_projects.at(i).id == id)
            return int(i);
    }
    return -1;
}

AppLanguage ProjectListModel::language() const
{
    return m_store.language();
}

int ProjectListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_projects.size());
}

QVariant ProjectListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Project& p = m_projects.at(index.row());
    // Money texts are formatted only for the rows and roles asked for.
    const auto money = [this](double amount) { return m_store.money(amount); };
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return Text::shown(p.name);
    case IdRole:
        return uuidText(p.id);
    case ClientRole:
        return Text::shown(p.client);
    case CategoryRole:
        return Text::shown(p.category);
    case FeeRole:
        return p.fee;
    case OutsourceRole:
        return p.outsource;
    case FeeTextRole:
        return money(p.fee);
    case OutsourceTextRole:
        return p.outsource > 0 ? money(p.outsource) : QString();
    case NetTextRole:
        return money(p.fee - p.outsource);
    case StatusRole:
        return int(p.status);
    case StatusTitleRole:
        return StatusStyle::upperTitle(p.status, language());
    case DueTextRole:
        return m_store.dueText(p);
    case OverdueRole:
        return Payments::daysOverdue(p, m_store.today()).has_value();
    default:
        return {};
    }
}

QHash<int, QByteArray> ProjectListModel::roleNames() const
{
    QHash<int, QByteArray> names = QAbstractListModel::roleNames();
    names.insert(IdRole, "id");
    names.insert(ClientRole, "client");
    names.insert(CategoryRole, "category");
    names.insert(FeeRole, "fee");
    names.insert(OutsourceRole, "outsource");
    names.insert(FeeTextRole, "feeText");
    names.insert(OutsourceTextRole, "outsourceText");
    names.insert(NetTextRole, "netText");
    names.insert(StatusRole, "status");
    names.insert(StatusTitleRole, "statusTitle");
    names.insert(DueTextRole, "dueText");
    names.insert(OverdueRole, "overdue");
    return names;
}
