#include "stats/CategoryListModel.h"

#include "model/Text.h"
#include "stats/Breakdown.h"

CategoryListModel::CategoryListModel(QObject* parent) : QAbstractListModel(parent) {}

void CategoryListModel::setCategories(const QVector<NamedTotal>& categories, double gross)
{
    if (categories == m_categories && gross == m_gross)
        return;
    // The whole list is recomputed on every change, so the rows are replaced at once.
    beginResetModel();
    m_categories = categories;
    m_gross = gross;
    endResetModel();
}

int CategoryListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_categories.size());
}

QVariant CategoryListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const NamedTotal& row = m_categories[index.row()];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return Text::shown(row.name);
    case AmountRole:
        return row.amount;
    case ShareRole:
        return Breakdown::share(row.amount, m_gross);
    default:
        return {};
    }
}
