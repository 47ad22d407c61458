#pragma once

#include "model/TextTotals.h"

#include <QAbstractListModel>

// Every row of a breakdown, in its sorted order, with its share of the total (`gross`).
class CategoryListModel final : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role { AmountRole = Qt::UserRole + 1, ShareRole };

    explicit CategoryListModel(QObject* parent = nullptr);

    void setCategories(const QVector<NamedTotal>& categories, double gross);
    const QVector<NamedTotal>& categories() const { return m_categories; }
    double gross() const { return m_gross; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    QVector<NamedTotal> m_categories;
    double m_gross = 0;
};
