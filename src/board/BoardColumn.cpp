#include "board/BoardColumn.h"

#include "board/CardList.h"
#include "board/ColumnHeader.h"
#include "board/ColumnModel.h"
#include "board/ProjectCard.h"
#include "model/Store.h"
#include "ui/Painters.h"
#include "ui/Theme.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QPainter>
#include <QRegularExpression>
#include <QVBoxLayout>

BoardColumn::BoardColumn(Store& store, Status status, QWidget* parent)
    : QWidget(parent), m_store(store), m_status(status), m_model(new ColumnModel(store, status, this))
{
    setObjectName(QStringLiteral("column_") + StatusInfo::rawValue(status));
    setAcceptDrops(true);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    m_header = new ColumnHeader(store, m_model, this);
    m_cards = new CardList(store, m_model, this);

    // The card list keeps a margin for its cards' shadows; the column's padding absorbs it.
    const QMargins bleed = ProjectCard::shadowMargins();
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(kPadding - bleed.left(), kPadding, kPadding - bleed.right(),
                              std::max(0, kPadding - bleed.bottom()));
    stack->setSpacing(0);
    auto* headerRow = new QHBoxLayout;
    headerRow->setContentsMargins(bleed.left(), 0, bleed.right(), 0);
    headerRow->addWidget(m_header);
    stack->addLayout(headerRow);
    stack->addSpacing(16 - bleed.top());
    stack->addWidget(m_cards);
    stack->addStretch(1);

    connect(&m_store, &Store::dataChanged, this, &BoardColumn::refreshColor);
    refreshColor();
}

QSize BoardColumn::sizeHint() const
{
    return QSize(300, std::max(kMinimumHeight, layout()->sizeHint().height()));
}

QSize BoardColumn::minimumSizeHint() const
{
    // All cards are shown: the page scrolls, not the column.
    return QSize(160, std::max(kMinimumHeight, layout()->minimumSize().height()));
}

void BoardColumn::refreshColor()
{
    const QColor color = Theme::fromRgb(m_store.columnColor(m_status));
    if (color == m_color)
        return;
    m_color = color;
    m_dark = Theme::isDark(color);
    m_header->setDark(m_dark);
    m_cards->setDark(m_dark);
    update();
}

void BoardColumn::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(rect());
    Painters::roundedCard(p, r, kRadius, m_color);
    if (m_targeted) {
        QPen pen(Theme::brand(), 2);
        // Dashes are counted in pen widths: 6 on and 4 off.
        pen.setDashPattern({3, 2});
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(1, 1, -1, -1), kRadius - 1, kRadius - 1);
    } else {
        Painters::roundedCard(p, r, kRadius, QColor(), Theme::border(), 1);
    }
}

QStringList BoardColumn::droppedTexts(const QString& text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\\r\\n|\\n|\\r"));
    return text.split(lineBreak, Qt::SkipEmptyParts);
}

void BoardColumn::setTargeted(bool targeted)
{
    if (targeted == m_targeted)
        return;
    m_targeted = targeted;
    update();
}

void BoardColumn::dragEnterEvent(QDragEnterEvent* event)
{
    if (!event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    setTargeted(true);
}

void BoardColumn::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->mimeData()->hasText())
        event->acceptProposedAction();
    else
        event->ignore();
}

void BoardColumn::dragLeaveEvent(QDragLeaveEvent* event)
{
    setTargeted(false);
    QWidget::dragLeaveEvent(event);
}

void BoardColumn::dropEvent(QDropEvent* event)
{
    setTargeted(false);
    if (!event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    // The Store decides what the texts mean; the column passes them on as they came.
    const bool changed = m_store.handleDrop(droppedTexts(event->mimeData()->text()), m_status);
    if (changed)
        event->acceptProposedAction();
    else
        event->ignore();
}
