#include "board/ProjectTableModel.h"

#include "ui/StatusStyle.h"
#include "model/Store.h"
#include "model/Text.h"

#include <QTimer>

ProjectTableModel::ProjectTableModel(Store* store, QObject* parent)
    : QAbstractListModel(parent), m_store(store)
{
    if (m_store) {
        for (auto signal : {&Store::dataChanged, &Store::activeYearChanged, &Store::searchQueryChanged,
                            &Store::sortFieldChanged, &Store::sortAscendingChanged, &Store::languageChanged,
                            &Store::rateChanged})
            connect(m_store, signal, this, &ProjectTableModel::scheduleRefresh);
        m_projects = m_store->sortedVisibleProjects();
    }
}

void ProjectTableModel::scheduleRefresh()
{
    if (m_pending)
        return;
    m_pending = true;
    QTimer::singleShot(0, this, [this] {
        if (m_pending)
            refresh();
    });
}

void ProjectTableModel::refresh()
{
    m_pending = false;
    if (!m_store)
        return;
    QVector<Project> next = m_store->sortedVisibleProjects();
    bool sameRows = next.size() == m_projects.size();
    for (qsizetype i = 0; sameRows && i < next.size(); ++i)
        sameRows = next.at(i).id == m_projects.at(i).id;
    if (sameRows) {
        // Same projects in the same order: only what they show may differ (an edit, the language).
        m_projects = std::move(next);
        if (!m_projects.isEmpty())
            emit dataChanged(index(0), index(int(m_projects.size()) - 1));
        return;
    }
    beginResetModel();
    m_projects = std::move(next);
    endResetModel();
}

int ProjectTableModel::rowOf(const QUuid& id) const
{
    for (qsizetype i = 0; i < m_projects.size(); ++i) {
        if (m_projects.at(i).id == id)
            return int(i);
    }
    return -1;
}

int ProjectTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_projects.size());
}

QVariant ProjectTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_projects.size() || !m_store)
        return {};
    const Project& p = m_projects.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return Text::shown(p.name);
    case IdRole:
        return p.id;
    case ClientRole:
        return Text::shown(p.client);
    case CategoryRole:
        return Text::shown(p.category);
    case FeeTextRole:
        return m_store->money(p.fee);
    case OutsourceTextRole:
        // The same words in both languages.
        return p.outsource > 0 ? QStringLiteral("Outsource: -") + m_store->money(p.outsource) : QString();
    case StatusRole:
        return int(p.status);
    case StatusTitleRole:
        return StatusStyle::upperTitle(p.status, m_store->language());
    case HasOutsourceRole:
        return p.outsource > 0;
    case Qt::AccessibleTextRole:
        return Text::shown(p.name);
    default:
        return {};
    }
}

Qt::ItemFlags ProjectTableModel::flags(const QModelIndex& index) const
{
    // Rows are shown and opened, never dragged or dropped on.
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
}
