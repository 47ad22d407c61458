#pragma once

#include "board/ProjectCard.h"

#include <QPointer>
#include <QStyledItemDelegate>

class Store;

// Paints ColumnModel rows as project cards.
class ProjectCardDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit ProjectCardDelegate(Store* store, QObject* parent = nullptr);

    // The card's texts from the model's roles, in the store's language.
    ProjectCard::Content content(const QModelIndex& index) const;
    // Paints with an explicit hover amount (the list animates it).
    void paintCard(QPainter* painter, const QRectF& rect, const QModelIndex& index, qreal hover) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    QPointer<Store> m_store;
};
