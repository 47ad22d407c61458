#include "board/BoardColumns.h"

#include "board/BoardColumn.h"
#include "board/CardList.h"
#include "model/Store.h"
#include "ui/Animations.h"
#include "ui/Announcer.h"
#include "ui/Painters.h"
#include "ui/Spring.h"
#include "ui/StatusStyle.h"
#include "ui/Theme.h"

#include <QHBoxLayout>
#include <QHash>
#include <QPainter>
#include <algorithm>

namespace {
// A column's place in the row: at its top, as tall as its cards make it. A plain widget item
// aligned to the top stops at QLAYOUTSIZE_MAX (524,287 pixels, some 5,400 cards) and would cut a
// long column off; the row itself adds up heights without that limit.
class ColumnItem final : public QWidgetItem
{
public:
    explicit ColumnItem(QWidget* column) : QWidgetItem(column) { setAlignment(Qt::AlignTop); }

    void setGeometry(const QRect& rect) override
    {
        QWidgetItem::setGeometry(rect);
        if (isEmpty())
            return;
        const int height = std::min(rect.height(), sizeHint().height());
        if (widget()->height() < height)
            widget()->resize(widget()->width(), height);
    }
};
} // namespace

BoardColumns::BoardColumns(Store& store, QWidget* parent)
    : QWidget(parent), m_store(store), m_slide(new SpringAnimation(0.25, 0.85, this)),
      m_announcer(new Announcer(this))
{
    m_slide->setStartValue(0.0);
    m_slide->setEndValue(1.0);
    setObjectName(QStringLiteral("boardColumns"));
    m_row = new QHBoxLayout(this);
    m_row->setContentsMargins(0, 0, 0, 0);
    m_row->setSpacing(kSpacing);
    connect(&m_store, &Store::dataChanged, this, &BoardColumns::syncOrder);
    // After the columns' own lists have taken the change.
    connect(&m_store, &Store::dataChanged, this, &BoardColumns::followCarried, Qt::QueuedConnection);
    syncOrder();
}

BoardColumn* BoardColumns::column(Status status) const
{
    for (BoardColumn* c : m_columns) {
        if (c->status() == status)
            return c;
    }
    return nullptr;
}

void BoardColumns::syncOrder()
{
    const QVector<Status> order = m_store.data().columnOrder;
    QVector<Status> shown;
    for (const BoardColumn* c : std::as_const(m_columns))
        shown.append(c->status());
    if (shown == order)
        return;

    // Where the kept columns stand now, to slide them from there to their new places.
    QHash<BoardColumn*, QPoint> from;
    if (Animations::enabled() && isVisible()) {
        for (BoardColumn* c : std::as_const(m_columns))
            from.insert(c, c->pos());
    }

    QVector<BoardColumn*> next;
    for (Status s : order) {
        BoardColumn* c = column(s);
        if (!c) {
            c = new BoardColumn(m_store, s, this);
            c->cards()->setBoard(this);
        }
        next.append(c);
    }
    for (BoardColumn* c : std::as_const(m_columns)) {
        if (!next.contains(c))
            delete c;
    }
    while (m_row->count() > 0)
        delete m_row->takeAt(0);
    for (BoardColumn* c : std::as_const(next)) {
        m_row->addItem(new ColumnItem(c));
        m_row->setStretch(m_row->count() - 1, 1);
        if (c->isHidden()) // else it appears with the board, laid out once at its real size
            c->show();
    }
    m_columns = next;
    update();
    if (!from.isEmpty())
        slide(from);
}

void BoardColumns::slide(const QHash<BoardColumn*, QPoint>& from)
{
    m_row->activate();
    QHash<BoardColumn*, QPoint> to;
    for (BoardColumn* c : std::as_const(m_columns)) {
        if (from.contains(c) && from.value(c) != c->pos()) {
            to.insert(c, c->pos());
            c->move(from.value(c));
        }
    }
    if (to.isEmpty())
        return;
    m_slide->stop();
    disconnect(m_slide, &QVariantAnimation::valueChanged, this, nullptr);
    connect(m_slide, &QVariantAnimation::valueChanged, this, [this, from, to](const QVariant& v) {
        const qreal t = v.toReal();
        for (auto it = to.begin(); it != to.end(); ++it) {
            const QPoint a = from.value(it.key());
            it.key()->move(a + (it.value() - a) * t);
        }
        update();
    });
    m_slide->start();
}

bool BoardColumns::isSliding() const
{
    return m_slide->state() == QAbstractAnimation::Running;
}

void BoardColumns::resizeEvent(QResizeEvent* event)
{
    // A new width lays the columns out afresh; a slide in progress would fight it.
    if (m_slide->state() == QAbstractAnimation::Running) {
        m_slide->stop();
        m_row->invalidate();
    }
    QWidget::resizeEvent(event);
}

void BoardColumns::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QColor shade = Theme::ink();
    shade.setAlphaF(0.04f);
    for (const BoardColumn* c : std::as_const(m_columns))
        Painters::shadow(p, QRectF(c->geometry()), BoardColumn::kRadius, shade, 4, QPointF(0, 2));
}

// --- the keyboard --------------------------------------------------------------------------------

bool BoardColumns::cardKey(CardList* from, ProjectCursor::BoardKey key, int row)
{
    const auto it = std::find_if(m_columns.cbegin(), m_columns.cend(),
                                 [from](const BoardColumn* c) { return c->cards() == from; });
    if (it == m_columns.cend())
        return false;
    const int column = int(it - m_columns.cbegin());
    const bool onCard = row >= 0 && row < from->projectCount();
    using Key = ProjectCursor::BoardKey;
    switch (key) {
    case Key::newProject:
        m_store.ui().setEditor(EditorTarget::newProject());
        return true;
    case Key::left:
    case Key::right:
        stepAcross(from, column, key == Key::left ? -1 : 1, onCard ? row : -1);
        return true;
    case Key::carryLeft:
    case Key::carryRight:
        if (!onCard)
            return false;
        carry(from, column, key == Key::carryLeft ? -1 : 1, row);
        return true;
    case Key::remove:
        if (!onCard)
            return false;
        m_store.deleteProject(from->projectIdAt(row));
        // The keyboard stays in the column, on the card that took the deleted one's place.
        if (from->projectCount() > 0)
            from->cursor().setRow(std::min(row, from->projectCount() - 1));
        return true;
    }
    return false;
}

void BoardColumns::stepAcross(CardList* from, int column, int by, int row)
{
    // The card at the same height as the one left (the top from an empty column), in the next
    // column that has cards; at the first or last column the keyboard stays.
    const QRect item = from->itemRect(row);
    const int y = from->mapTo(this, item.isEmpty() ? QPoint(0, 0) : item.center()).y();
    for (int i = column + by; i >= 0 && i < m_columns.size(); i += by) {
        CardList* to = m_columns.at(i)->cards();
        if (to->projectCount() == 0)
            continue;
        to->cursor().setRow(to->nearestRow(to->mapFrom(this, QPoint(0, y)).y()));
        to->setFocus(Qt::ShortcutFocusReason);
        return;
    }
}

void BoardColumns::carry(CardList* from, int column, int by, int row)
{
    const int target = column + by;
    if (target < 0 || target >= m_columns.size())
        return;
    const QUuid id = from->projectIdAt(row);
    const QString name = from->itemName(row);
    BoardColumn* onto = m_columns.at(target);
    // The same change, toast and Undo as the card dropped on that column: the Store's one move.
    m_store.move(id, onto->status());
    CardList* to = onto->cards();
    const int landed = to->rowOfProject(id);
    if (landed < 0)
        return;
    to->cursor().setRow(landed);
    to->setFocus(Qt::ShortcutFocusReason);
    m_carried = {id, to};
    const QString title = StatusStyle::title(onto->status(), m_store.language());
    const QString place = QString::number(landed + 1);
    const QString count = QString::number(to->projectCount());
    m_announcer->say(
        m_store.tr(QStringLiteral("%1 moved to %2, %3 of %4").arg(name, title, place, count),
                   QStringLiteral("%1, %2 sütununa taşındı, %3 / %4").arg(name, title, place, count)));
}

void BoardColumns::followCarried()
{
    // An Undo of the carry takes the card back: the keyboard goes with it, unless it has moved on.
    const Carried carried = std::exchange(m_carried, {});
    if (!carried.into || !carried.into->hasFocus() || carried.into->cursor().projectId() != carried.id)
        return;
    if (carried.into->rowOfProject(carried.id) >= 0) {
        m_carried = carried; // still there: a later change may be the Undo
        return;
    }
    for (BoardColumn* c : std::as_const(m_columns)) {
        CardList* list = c->cards();
        if (const int row = list->rowOfProject(carried.id); row >= 0) {
            list->cursor().setRow(row);
            list->setFocus(Qt::ShortcutFocusReason);
            return;
        }
    }
}
