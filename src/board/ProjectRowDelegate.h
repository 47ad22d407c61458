#pragma once

#include <QAbstractItemDelegate>

// Paints one project-table row from ProjectTableModel's roles with ProjectRow.
class ProjectRowDelegate final : public QAbstractItemDelegate
{
    Q_OBJECT

public:
    using QAbstractItemDelegate::QAbstractItemDelegate;

    // option.state's State_MouseOver marks the hovered row.
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
