#pragma once

#include "board/ProjectList.h"
#include "board/ProjectRow.h"

class ProjectTableModel;
class Store;
class TableHeader;

// The board's table presentation: the header row, then one painted row per visible project in
// the Store's table order, divided by hairlines, on a white rounded frame. The table grows to its
// full height inside the page's scroll area and paints only the rows in view. A ProjectList: rows
// open the editor (pencil or double click) and the project menu; nothing is dragged or dropped.
class ProjectTable final : public ProjectList
{
    Q_OBJECT

public:
    static constexpr int kRadius = 24;
    // Room under the frame for its shadow.
    static constexpr int kShadowBleed = 6;
    static constexpr int kEmptyPadding = 40;

    explicit ProjectTable(Store& store, QWidget* parent = nullptr);

    ProjectTableModel* model() const;
    TableHeader* header() const { return m_header; }

    // The texts of a row, in the interface language: what it paints and what assistive technology
    // reads of it.
    ProjectRow::Content content(int row) const;
    // The empty-state text shown now; empty while there are rows.
    QString emptyText() const;
    // Bumped by every paint (benchmarks wait for the repaint after a change).
    quint64 paintCount() const { return m_paintCount; }
    // The height of the white frame (the widget adds room for the shadow below it).
    int frameHeight() const { return m_frameHeight; }

    QRectF editButtonRect(const QRectF& item) const override;
    QString itemDescription(int row) const override;
    // The header comes first in the accessible tree.
    QWidget* leadingWidget() const override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    int itemHeight(int row) const override;
    void paintItem(QPainter& p, int row, const QRect& rect, bool current) override;
    void laidOut() override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    // Where the frame's rounded bottom begins.
    qreal capTop() const;
    void paintFrame(QPainter& p, const QRect& clip) const;
    void paintEmpty(QPainter& p) const;
    // The hover and the pointer's shape follow a resting pointer over rows that moved under it.
    void followPointer();

    TableHeader* m_header;
    int m_frameHeight = 0;
    quint64 m_paintCount = 0;
};
