#pragma once

#include "model/Status.h"

#include <QHash>
#include <QVector>
#include <QWidget>

class BoardColumn;
class QHBoxLayout;
class SpringAnimation;
class Store;

// The row of status columns in the order of the document's column order. Columns are kept
// across reorders (so a column keeps its state) and their shadows are drawn here, behind them.
class BoardColumns final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kSpacing = 24;

    explicit BoardColumns(Store& store, QWidget* parent = nullptr);

    const QVector<BoardColumn*>& columns() const { return m_columns; }
    BoardColumn* column(Status status) const;

    bool isSliding() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void syncOrder();
    // Moves reordered columns from their old places to the new ones with a spring.
    void slide(const QHash<BoardColumn*, QPoint>& from);

    Store& m_store;
    QHBoxLayout* m_row;
    QVector<BoardColumn*> m_columns;
    SpringAnimation* m_slide;
};
