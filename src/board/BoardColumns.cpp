#include "board/BoardColumns.h"

#include "board/BoardColumn.h"
#include "model/Store.h"
#include "ui/Painters.h"
#include "ui/Theme.h"

#include <QHBoxLayout>
#include <QPainter>

BoardColumns::BoardColumns(Store* store, QWidget* parent) : QWidget(parent), m_store(store)
{
    setObjectName(QStringLiteral("boardColumns"));
    m_row = new QHBoxLayout(this);
    m_row->setContentsMargins(0, 0, 0, 0);
    m_row->setSpacing(kSpacing);
    if (m_store)
        connect(m_store, &Store::dataChanged, this, &BoardColumns::syncOrder);
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
    const QVector<Status> order = m_store ? m_store->data().columnOrder : QVector<Status>();
    QVector<Status> shown;
    for (const BoardColumn* c : std::as_const(m_columns))
        shown.append(c->status());
    if (shown == order)
        return;

    QVector<BoardColumn*> next;
    for (Status s : order) {
        BoardColumn* c = column(s);
        if (!c)
            c = new BoardColumn(m_store, s, this);
        next.append(c);
    }
    for (BoardColumn* c : std::as_const(m_columns)) {
        if (!next.contains(c))
            delete c;
    }
    while (m_row->count() > 0)
        delete m_row->takeAt(0);
    for (BoardColumn* c : std::as_const(next)) {
        m_row->addWidget(c, 1, Qt::AlignTop);
        c->show();
    }
    m_columns = next;
    update();
}

void BoardColumns::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QColor shade = Theme::ink();
    shade.setAlphaF(0.04f);
    for (const BoardColumn* c : std::as_const(m_columns))
        Painters::shadow(p, QRectF(c->geometry()), BoardColumn::kRadius, shade, 4, QPointF(0, 2));
}
