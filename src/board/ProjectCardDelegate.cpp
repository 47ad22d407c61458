#include "board/ProjectCardDelegate.h"

#include "board/ColumnModel.h"
#include "model/Store.h"

ProjectCardDelegate::ProjectCardDelegate(Store* store, QObject* parent)
    : QStyledItemDelegate(parent), m_store(store)
{}

ProjectCard::Content ProjectCardDelegate::content(const QModelIndex& index) const
{
    ProjectCard::Content c;
    c.name = index.data(Qt::DisplayRole).toString();
    c.client = index.data(ColumnModel::ClientRole).toString();
    c.category = index.data(ColumnModel::CategoryRole).toString();
    c.fee = index.data(ColumnModel::FeeTextRole).toString();
    c.hasOutsource = index.data(ColumnModel::OutsourceRole).toDouble() > 0;
    if (c.hasOutsource) {
        const QString label = m_store
                                  ? m_store->tr(QStringLiteral("Outsource: "), QStringLiteral("Dış Kaynak: "))
                                  : QStringLiteral("Outsource: ");
        c.outsource = label + index.data(ColumnModel::OutsourceTextRole).toString();
        // The same word in both languages.
        c.net = QStringLiteral("Net: ") + index.data(ColumnModel::NetTextRole).toString();
    }
    return c;
}

void ProjectCardDelegate::paintCard(QPainter* painter, const QRectF& rect, const QModelIndex& index,
                                    qreal hover) const
{
    ProjectCard::paint(*painter, rect, content(index), hover);
}

void ProjectCardDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const
{
    paintCard(painter, QRectF(option.rect), index, option.state.testFlag(QStyle::State_MouseOver) ? 1 : 0);
}

QSize ProjectCardDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    return QSize(option.rect.width(),
                 ProjectCard::height(index.data(ColumnModel::OutsourceRole).toDouble() > 0));
}
