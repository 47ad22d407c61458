#pragma once

#include "board/ProjectCard.h"
#include "board/ProjectList.h"

class BoardColumns;
class ColumnModel;
class Store;

// The cards of one column: a ProjectList whose items are project cards, spaced apart with room
// for their shadows, whose hover fades and which are dragged to other columns or the trash. With
// no cards it shows the column's empty state.
class CardList final : public ProjectList
{
    Q_OBJECT

public:
    static constexpr int kSpacing = 12;

    CardList(Store& store, ColumnModel* model, QWidget* parent = nullptr);

    ColumnModel* model() const;
    void setDark(bool dark);
    // The board the list's column stands in, which takes the board's keys.
    void setBoard(BoardColumns* board) { m_board = board; }

    // The texts of a row's card, in the interface language: what it paints and what assistive
    // technology reads of it.
    ProjectCard::Content content(int row) const;
    // The empty-state text now shown ("" while there are cards).
    QString emptyText() const;

    QRectF editButtonRect(const QRectF& item) const override;
    QString itemDescription(int row) const override;
    QString emptyName() const override { return emptyText(); }
    bool boardKey(ProjectCursor::BoardKey key, int row) override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    int itemHeight(int row) const override;
    void paintItem(QPainter& p, int row, const QRect& rect, bool current) override;
    void laidOut() override;
    QString editToolTip() const override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    int contentHeight() const;
    int placeholderHeight() const;
    void paintPlaceholder(QPainter& p) const;
    void startDrag(int row);

    BoardColumns* m_board = nullptr;
    bool m_dark = false;
    // The height last handed to the layout.
    int m_contentHeight = 0;
};
