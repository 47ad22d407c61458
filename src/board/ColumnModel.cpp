#include "board/ColumnModel.h"

#include "model/Store.h"

ColumnModel::ColumnModel(Store& store, Status status, QObject* parent)
    : ProjectListModel(store, parent), m_status(status)
{
    m_projects = m_store.projects(m_status);
    // Rows are kept in a buffer of our own: a list shared with the Store's cache would make
    // the Store copy it on its next change.
    m_projects.detach();
    recomputeSum();
    connect(&m_store, &Store::dataChanged, this, &ColumnModel::refresh);
    connect(&m_store, &Store::activeYearChanged, this, &ColumnModel::refresh);
    connect(&m_store.ui(), &UiState::searchQueryChanged, this, &ColumnModel::refresh);
    // Money texts follow the language and the rate (and the currency, which comes with
    // dataChanged).
    for (auto signal : {&Store::languageChanged, &Store::rateChanged})
        connect(&m_store, signal, this, [this] {
            if (!m_projects.isEmpty())
                emit dataChanged(index(0), index(int(m_projects.size()) - 1));
            emit summaryChanged();
        });
}

Qt::ItemFlags ColumnModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
}

void ColumnModel::refresh()
{
    const QVector<Project> next = m_store.projects(m_status);
    const int oldCount = int(m_projects.size());
    const int newCount = int(next.size());

    // Rows that keep their place at either end; the rest in between is replaced.
    int head = 0;
    while (head < oldCount && head < newCount && m_projects.at(head).id == next.at(head).id)
        ++head;
    int tail = 0;
    while (tail < oldCount - head && tail < newCount - head &&
           m_projects.at(oldCount - 1 - tail).id == next.at(newCount - 1 - tail).id)
        ++tail;

    if (oldCount - tail > head) {
        beginRemoveRows(QModelIndex(), head, oldCount - tail - 1);
        m_projects.remove(head, oldCount - tail - head);
        endRemoveRows();
    }
    if (newCount - tail > head) {
        beginInsertRows(QModelIndex(), head, newCount - tail - 1);
        spliceIn(head, next, head, newCount - tail);
        endInsertRows();
    }

    // Kept rows take their new values, reported as one span: the column lays itself out again
    // once per report, so many scattered changes (a renamed client) must not mean many reports.
    int first = -1;
    int last = -1;
    for (int i = 0; i < newCount; ++i) {
        const bool kept = i < head || i >= newCount - tail;
        if (kept && m_projects.at(i) != next.at(i)) {
            m_projects[i] = next.at(i);
            if (first < 0)
                first = i;
            last = i;
        }
    }
    const bool contentChanged = first >= 0;
    if (contentChanged)
        emit dataChanged(index(first), index(last));

    const double oldSum = m_feeSum;
    recomputeSum();
    if (oldSum != m_feeSum || oldCount != newCount || contentChanged)
        emit summaryChanged();
}

void ColumnModel::spliceIn(int at, const QVector<Project>& from, int begin, int end)
{
    const int count = end - begin;
    if (count <= 16) {
        for (int i = 0; i < count; ++i)
            m_projects.insert(at + i, from.at(begin + i));
        return;
    }
    QVector<Project> joined;
    joined.reserve(m_projects.size() + count);
    joined.append(m_projects.mid(0, at));
    for (int i = begin; i < end; ++i)
        joined.append(from.at(i));
    joined.append(m_projects.mid(at));
    m_projects = joined;
}

void ColumnModel::recomputeSum()
{
    double sum = 0;
    for (const Project& p : std::as_const(m_projects))
        sum += p.fee;
    m_feeSum = sum;
}
