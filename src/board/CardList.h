#pragma once

#include "board/PaintedProjects.h"
#include "board/ProjectCursor.h"

#include <QPointer>
#include <QUuid>
#include <QVector>
#include <QWidget>

class ColumnModel;
class ProjectCardDelegate;
class QVariantAnimation;
class Store;

// The cards of one column: one painted widget that lays the model's rows out top to bottom
// (heights cached, only the cards in view painted) and handles hover, clicks, the context menu
// and dragging a card. With no rows it shows the column's empty state.
class CardList final : public QWidget, public PaintedProjects
{
    Q_OBJECT

public:
    static constexpr int kSpacing = 12;

    CardList(Store* store, ColumnModel* model, QWidget* parent = nullptr);

    ColumnModel* model() const { return m_model; }
    ProjectCardDelegate* delegate() const { return m_delegate; }
    void setDark(bool dark);

    // Geometry of row `row`'s card in this widget; empty when out of range.
    QRect cardRect(int row) const;
    // The row whose card contains the point, or -1.
    int rowAt(const QPoint& pos) const override;
    // The empty-state text now shown ("" while there are cards).
    QString emptyText() const;
    QUuid hoveredId() const { return m_hoverId; }
    // How many cards the last paint drew, and the first of them (only those in view are painted).
    int paintedCards() const { return m_painted; }
    int firstPaintedRow() const { return m_firstPainted; }

    // The editor of row `row`'s project; its project menu at a global position.
    void openEditor(int row) override;
    void openMenu(int row, const QPoint& globalPos) override;

    // What the accessible tree reads of the cards.
    int projectCount() const override;
    QUuid projectIdAt(int row) const override;
    int rowOfProject(const QUuid& id) const override;
    QRect itemRect(int row) const override { return cardRect(row); }
    QRectF editButtonRect(const QRectF& item) const override;
    QString itemName(int row) const override;
    QString itemDescription(int row) const override;
    QString emptyName() const override { return emptyText(); }
    int currentRow() const override { return m_cursor.row(); }
    ProjectCursor& cursor() { return m_cursor; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void relayout();
    int contentHeight() const;
    int placeholderHeight() const;
    void setHover(const QUuid& id);
    void updateCard(const QUuid& id);
    qreal hoverAmount(const QUuid& id) const;
    void startDrag(int row);

    QPointer<Store> m_store;
    ColumnModel* m_model;
    ProjectCardDelegate* m_delegate;
    bool m_dark = false;
    // Top of each card relative to the first card, and the total height of the stack.
    QVector<int> m_tops;
    int m_stackHeight = 0;
    int m_painted = 0;
    int m_firstPainted = -1;

    QUuid m_hoverId;
    QUuid m_leavingId;
    qreal m_hoverIn = 0;
    qreal m_hoverOut = 0;
    QVariantAnimation* m_inAnimation;
    QVariantAnimation* m_outAnimation;

    QPoint m_pressPos;
    int m_pressRow = -1;
    ProjectCursor m_cursor{this, this};
};
