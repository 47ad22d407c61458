#include "board/ProjectTableModel.h"

#include "model/Store.h"

#include <QTimer>

ProjectTableModel::ProjectTableModel(Store& store, QObject* parent) : ProjectListModel(store, parent)
{
    for (auto signal :
         {&Store::dataChanged, &Store::activeYearChanged, &Store::languageChanged, &Store::rateChanged})
        connect(&m_store, signal, this, &ProjectTableModel::scheduleRefresh);
    for (auto signal :
         {&UiState::searchQueryChanged, &UiState::sortFieldChanged, &UiState::sortAscendingChanged})
        connect(&m_store.ui(), signal, this, &ProjectTableModel::scheduleRefresh);
    m_projects = m_store.sortedVisibleProjects();
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
    QVector<Project> next = m_store.sortedVisibleProjects();
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

Qt::ItemFlags ProjectTableModel::flags(const QModelIndex& index) const
{
    // Rows are shown and opened, never dragged or dropped on.
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
}
