#include "stats/CategoryRowDelegate.h"

#include "model/Store.h"
#include "stats/CategoryListModel.h"
#include "stats/CategoryRowPainter.h"

#include <QPainter>

CategoryRowDelegate::CategoryRowDelegate(Store& store, Breakdown::Kind kind, QObject* parent)
    : QStyledItemDelegate(parent), m_store(store), m_kind(kind)
{}

QRectF CategoryRowDelegate::rowRect(const QRect& item, const QModelIndex& index)
{
    const int top = index.row() == 0 ? kEdge : 0;
    return QRectF(item.left(), item.top() + top, std::max(0, item.width() - kTrailing),
                  CategoryRowPainter::height(CategoryRowPainter::sheetLook()));
}

void CategoryRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const
{
    const auto* model = qobject_cast<const CategoryListModel*>(index.model());
    const Breakdown::Figures figures = Breakdown::figures(
        m_store, m_kind, index.data(CategoryListModel::AmountRole).toDouble(), model ? model->gross() : 0);
    CategoryRowPainter::paint(*painter, rowRect(option.rect, index), CategoryRowPainter::sheetLook(),
                              {index.data(Qt::DisplayRole).toString(), figures.figure, figures.detail},
                              index.data(CategoryListModel::ShareRole).toDouble());
}

QSize CategoryRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const bool first = index.row() == 0;
    const bool last = index.model() && index.row() == index.model()->rowCount(index.parent()) - 1;
    const int h = CategoryRowPainter::height(CategoryRowPainter::sheetLook()) + (first ? kEdge : 0) +
                  (last ? kEdge : kSpacing);
    return QSize(option.rect.width(), h);
}
