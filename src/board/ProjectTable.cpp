#include "board/ProjectTable.h"

#include "board/PaintedProjectsAccessible.h"
#include "board/ProjectMenu.h"
#include "board/ProjectRow.h"
#include "board/ProjectRowDelegate.h"
#include "board/ProjectTableModel.h"
#include "board/TableHeader.h"
#include "model/Store.h"
#include "ui/Painters.h"
#include "ui/Theme.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionViewItem>
#include <algorithm>

namespace {
QFont emptyFont()
{
    return Theme::font(12, QFont::Medium);
}
} // namespace

ProjectTable::ProjectTable(Store* store, QWidget* parent)
    : QWidget(parent), m_store(store), m_model(new ProjectTableModel(store, this)),
      m_delegate(new ProjectRowDelegate(this)), m_header(new TableHeader(store, kRadius, this))
{
    PaintedProjectsAccessible::install();
    setObjectName(QStringLiteral("projectTable"));
    setAccessibleName(QStringLiteral("Projects"));
    // Reached with Tab, moved through with the arrow keys; a click keeps its own meaning.
    setFocusPolicy(Qt::TabFocus);
    setMouseTracking(true);
    setAcceptDrops(false);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    connect(m_model, &QAbstractItemModel::modelReset, this, &ProjectTable::relayout);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &ProjectTable::relayout);
    if (m_store) {
        // The empty state's text follows the search, the year and the language.
        for (auto signal : {&Store::searchQueryChanged, &Store::activeYearChanged, &Store::languageChanged})
            connect(m_store, signal, this, qOverload<>(&QWidget::update));
    }
    relayout();
}

void ProjectTable::relayout()
{
    const int n = m_model->rowCount();
    m_tops.resize(n);
    m_heights.resize(n);
    const int plain = ProjectRow::height(false);
    const int tall = ProjectRow::height(true);
    int y = TableHeader::kHeight;
    for (int i = 0; i < n; ++i) {
        y += 1; // the divider above the row
        m_tops[i] = y;
        m_heights[i] = m_model->project(i).outsource > 0 ? tall : plain;
        y += m_heights[i];
    }
    if (n == 0)
        y += 1 + 2 * kEmptyPadding + QFontMetrics(emptyFont()).height();
    if (y != m_frameHeight) {
        m_frameHeight = y;
        updateGeometry();
        // Until the layout gets to it, keep the widget's own height right.
        resize(width(), y + kShadowBleed);
    }
    followPointer();
    update();
}

QSize ProjectTable::sizeHint() const
{
    return {600, m_frameHeight + kShadowBleed};
}

QSize ProjectTable::minimumSizeHint() const
{
    return {400, m_frameHeight + kShadowBleed};
}

QRect ProjectTable::rowRect(int row) const
{
    if (row < 0 || row >= m_tops.size())
        return {};
    return {0, m_tops.at(row), width(), m_heights.at(row)};
}

int ProjectTable::rowAt(const QPoint& pos) const
{
    if (m_tops.isEmpty() || pos.x() < 0 || pos.x() >= width())
        return -1;
    const auto it = std::upper_bound(m_tops.cbegin(), m_tops.cend(), pos.y());
    if (it == m_tops.cbegin())
        return -1;
    const int row = int(it - m_tops.cbegin()) - 1;
    return pos.y() < m_tops.at(row) + m_heights.at(row) ? row : -1;
}

QString ProjectTable::emptyText() const
{
    if (!m_store || m_model->rowCount() > 0)
        return {};
    if (!m_store->searchQuery().isEmpty())
        return m_store->tr(QStringLiteral("No matches"), QStringLiteral("Eşleşme bulunamadı"));
    const QString year = QString::number(m_store->activeYear());
    return m_store->tr(QStringLiteral("No projects in %1 yet"), QStringLiteral("%1 yılında henüz proje yok"))
        .arg(year);
}

int ProjectTable::hoveredRow() const
{
    return m_hoverId.isNull() ? -1 : m_model->rowOf(m_hoverId);
}

void ProjectTable::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_header->setGeometry(0, 0, width(), TableHeader::kHeight);
}

void ProjectTable::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    // Scrolling moves the rows under a resting pointer.
    followPointer();
}

void ProjectTable::paintEvent(QPaintEvent* event)
{
    ++m_paintCount;
    QPainter p(this);
    const QRect clip = event->rect();
    paintFrame(p, clip);
    m_painted = 0;
    if (m_tops.isEmpty())
        paintEmpty(p);
    else
        paintRows(p, clip);

    // The frame's outline inside its edge, over the rows; the header draws its own part.
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Theme::border(), 1));
    p.setBrush(Qt::NoBrush);
    const qreal capTop = m_frameHeight - kRadius - 1;
    if (clip.top() < capTop) {
        p.drawLine(QPointF(0.5, TableHeader::kHeight), QPointF(0.5, capTop));
        p.drawLine(QPointF(width() - 0.5, TableHeader::kHeight), QPointF(width() - 0.5, capTop));
    }
    if (clip.bottom() >= capTop) {
        p.save();
        p.setClipRect(QRectF(0, capTop, width(), kRadius + 1), Qt::IntersectClip);
        p.drawRoundedRect(QRectF(0.5, m_frameHeight - 3 * kRadius - 0.5, width() - 1, 3 * kRadius),
                          kRadius - 0.5, kRadius - 0.5);
        p.restore();
    }
}

void ProjectTable::paintFrame(QPainter& p, const QRect& clip) const
{
    const QRectF frame(0, 0, width(), m_frameHeight);
    QColor shade = Theme::ink();
    shade.setAlphaF(0.04f);
    Painters::shadow(p, frame, kRadius, shade, 4, QPointF(0, 2));
    // White behind the dividers and the empty state; the rounded bottom only where it is in view.
    const qreal capTop = m_frameHeight - kRadius - 1;
    p.fillRect(QRectF(0, kRadius, width(), std::max<qreal>(0, capTop - kRadius)).intersected(QRectF(clip)),
               Qt::white);
    if (clip.bottom() >= capTop) {
        p.save();
        p.setClipRect(QRectF(0, capTop, width(), kRadius + 1), Qt::IntersectClip);
        Painters::roundedCard(p, QRectF(0, m_frameHeight - 3 * kRadius, width(), 3 * kRadius), kRadius,
                              Qt::white);
        p.restore();
    }
}

void ProjectTable::paintRows(QPainter& p, const QRect& clip)
{
    const auto first = std::upper_bound(m_tops.cbegin(), m_tops.cend(), clip.top());
    int row = std::max(0, int(first - m_tops.cbegin()) - 1);
    const int hover = hoveredRow();
    const qreal capTop = m_frameHeight - kRadius - 1;
    QPainterPath rounded;
    rounded.addRoundedRect(QRectF(0, 0, width(), m_frameHeight), kRadius, kRadius);

    QStyleOptionViewItem option;
    option.initFrom(this);
    // Looked up once: finding the keyboard's project is a search of the rows.
    const int current = hasFocus() ? m_cursor.row() : -1;
    for (; row < m_tops.size() && m_tops.at(row) - 1 <= clip.bottom(); ++row) {
        const QRect r = rowRect(row);
        p.fillRect(QRect(0, r.top() - 1, width(), 1), Theme::border());
        option.rect = r;
        option.state.setFlag(QStyle::State_MouseOver, row == hover);
        // Only the last row reaches the frame's rounded corners.
        const bool atCorners = r.bottom() >= capTop;
        if (atCorners) {
            p.save();
            p.setRenderHint(QPainter::Antialiasing);
            p.setClipPath(rounded, Qt::IntersectClip);
        }
        m_delegate->paint(&p, option, m_model->index(row));
        if (row == current)
            m_cursor.paintRing(p, QRectF(r).adjusted(2, 1, -2, -1), 8);
        if (atCorners)
            p.restore();
        ++m_painted;
    }
}

void ProjectTable::paintEmpty(QPainter& p) const
{
    const int top = TableHeader::kHeight;
    p.fillRect(QRect(0, top, width(), 1), Theme::border());
    p.setFont(emptyFont());
    p.setPen(Theme::muted());
    p.drawText(QRect(0, top + 1 + kEmptyPadding, width(), QFontMetrics(emptyFont()).height()),
               Qt::AlignCenter, emptyText());
}

void ProjectTable::setHover(int row)
{
    const QUuid id = row >= 0 ? m_model->project(row).id : QUuid();
    if (id == m_hoverId)
        return;
    update(rowRect(hoveredRow()));
    m_hoverId = id;
    update(rowRect(row));
}

void ProjectTable::followPointer()
{
    if (!underMouse() || !isVisible()) {
        setHover(-1);
        return;
    }
    const QPoint pos = mapFromGlobal(QCursor::pos());
    const int row = rowAt(pos);
    setHover(row);
    setCursor(onEditButton(row, pos) ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

bool ProjectTable::onEditButton(int row, const QPoint& pos) const
{
    return row >= 0 && ProjectRow::editButtonRect(QRectF(rowRect(row))).contains(QPointF(pos));
}

void ProjectTable::openEditor(int row)
{
    if (m_store && row >= 0 && row < m_model->rowCount())
        m_store->setEditor(EditorTarget::edit(m_model->project(row).id));
}

void ProjectTable::mouseMoveEvent(QMouseEvent* event)
{
    const int row = rowAt(event->position().toPoint());
    setHover(row);
    setCursor(onEditButton(row, event->position().toPoint()) ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QWidget::mouseMoveEvent(event);
}

void ProjectTable::mousePressEvent(QMouseEvent* event)
{
    const int row = rowAt(event->position().toPoint());
    m_pressedEdit = event->button() == Qt::LeftButton && onEditButton(row, event->position().toPoint())
                        ? m_model->project(row).id
                        : QUuid();
    QWidget::mousePressEvent(event);
}

void ProjectTable::mouseReleaseEvent(QMouseEvent* event)
{
    const QUuid pressed = m_pressedEdit;
    m_pressedEdit = QUuid();
    const int row = rowAt(event->position().toPoint());
    // A click is a press and a release on the same pencil.
    if (!pressed.isNull() && event->button() == Qt::LeftButton &&
        onEditButton(row, event->position().toPoint()) && m_model->project(row).id == pressed)
        openEditor(row);
    QWidget::mouseReleaseEvent(event);
}

void ProjectTable::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        openEditor(rowAt(event->position().toPoint()));
    QWidget::mouseDoubleClickEvent(event);
}

void ProjectTable::contextMenuEvent(QContextMenuEvent* event)
{
    int row = rowAt(event->pos());
    if (event->reason() == QContextMenuEvent::Keyboard && row < 0)
        row = hoveredRow();
    openMenu(row, event->globalPos());
}

void ProjectTable::openMenu(int row, const QPoint& globalPos)
{
    if (row < 0 || row >= m_model->rowCount() || !m_store)
        return;
    auto* menu = new ProjectMenu(m_store, m_model->project(row).id, this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}

int ProjectTable::projectCount() const
{
    return m_model->rowCount();
}

QUuid ProjectTable::projectIdAt(int row) const
{
    return m_model->project(row).id;
}

int ProjectTable::rowOfProject(const QUuid& id) const
{
    return m_model->rowOf(id);
}

QRectF ProjectTable::editButtonRect(const QRectF& item) const
{
    return ProjectRow::editButtonRect(item);
}

QString ProjectTable::itemName(int row) const
{
    return m_model->index(row).data(Qt::DisplayRole).toString();
}

QString ProjectTable::itemDescription(int row) const
{
    const QModelIndex index = m_model->index(row);
    QStringList parts{index.data(ProjectTableModel::ClientRole).toString(),
                      index.data(ProjectTableModel::CategoryRole).toString(),
                      index.data(ProjectTableModel::FeeTextRole).toString()};
    const QString outsource = index.data(ProjectTableModel::OutsourceTextRole).toString();
    if (!outsource.isEmpty())
        parts << outsource;
    parts << index.data(ProjectTableModel::StatusTitleRole).toString();
    return parts.join(QStringLiteral(", "));
}

QWidget* ProjectTable::leadingWidget() const
{
    return m_header;
}

void ProjectTable::leaveEvent(QEvent* event)
{
    setHover(-1);
    QWidget::leaveEvent(event);
}
