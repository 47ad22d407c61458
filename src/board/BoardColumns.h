#pragma once

#include "board/ProjectCursor.h"
#include "model/Status.h"

#include <QHash>
#include <QPointer>
#include <QUuid>
#include <QVector>
#include <QWidget>

class Announcer;
class BoardColumn;
class CardList;
class QHBoxLayout;
class SpringAnimation;
class Store;

// The row of status columns in the order of the document's column order. Columns are kept
// across reorders (so a column keeps its state) and their shadows are drawn here, behind them.
// The board's keys on a card act here, where the columns' order is known.
class BoardColumns final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kSpacing = 24;

    explicit BoardColumns(Store& store, QWidget* parent = nullptr);

    const QVector<BoardColumn*>& columns() const { return m_columns; }
    BoardColumn* column(Status status) const;

    bool isSliding() const;

    // A board key pressed on a row of `from`, one of the columns' card lists: the arrows go to
    // the nearest card of the next column that has cards, Ctrl and an arrow carry the card to the
    // neighbouring column as a drop would (the keyboard goes with it, and the move is announced),
    // Delete deletes it, N starts a new project. False when `from` is none of ours.
    bool cardKey(CardList* from, ProjectCursor::BoardKey key, int row);
    Announcer* announcer() const { return m_announcer; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void syncOrder();
    // Moves reordered columns from their old places to the new ones with a spring.
    void slide(const QHash<BoardColumn*, QPoint>& from);
    void stepAcross(CardList* from, int column, int by, int row);
    void carry(CardList* from, int column, int by, int row);
    void followCarried();

    Store& m_store;
    QHBoxLayout* m_row;
    QVector<BoardColumn*> m_columns;
    SpringAnimation* m_slide;
    Announcer* m_announcer;
    // The card last carried by the keyboard, while the keyboard is still on it where it landed.
    struct Carried
    {
        QUuid id;
        QPointer<CardList> into;
    };
    Carried m_carried;
};
