#pragma once

#include "stats/Breakdown.h"

#include <QStyledItemDelegate>

class Store;

// Paints one row of the detail list; rows 13 apart with 8 pixels above the first and
// below the last, and 4 pixels kept clear at the trailing side for the scroll bar.
class CategoryRowDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    static constexpr int kSpacing = 13;
    static constexpr int kEdge = 8;
    static constexpr int kTrailing = 4;

    CategoryRowDelegate(Store& store, Breakdown::Kind kind, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // Where the row itself is drawn inside its item rectangle.
    static QRectF rowRect(const QRect& item, const QModelIndex& index);

private:
    Store& m_store;
    Breakdown::Kind m_kind;
};
