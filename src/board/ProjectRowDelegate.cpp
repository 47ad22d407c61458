#include "board/ProjectRowDelegate.h"

#include "board/ProjectRow.h"
#include "board/ProjectTableModel.h"

#include <QPainter>

void ProjectRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    ProjectRow::Content c;
    c.name = index.data(Qt::DisplayRole).toString();
    c.client = index.data(ProjectTableModel::ClientRole).toString();
    c.category = index.data(ProjectTableModel::CategoryRole).toString();
    c.fee = index.data(ProjectTableModel::FeeTextRole).toString();
    c.outsource = index.data(ProjectTableModel::OutsourceTextRole).toString();
    c.status = Status(index.data(ProjectTableModel::StatusRole).toInt());
    c.statusTitle = index.data(ProjectTableModel::StatusTitleRole).toString();
    ProjectRow::paint(*painter, QRectF(option.rect), c, option.state.testFlag(QStyle::State_MouseOver));
}

QSize ProjectRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    return {option.rect.width(),
            ProjectRow::height(index.data(ProjectTableModel::HasOutsourceRole).toBool())};
}
