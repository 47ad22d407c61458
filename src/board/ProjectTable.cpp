#include "board/ProjectTable.h"

#include "board/ProjectTableModel.h"
#include "board/TableHeader.h"
#include "model/Payments.h"
#include "model/Store.h"
#include "ui/Painters.h"
#include "ui/Theme.h"

#include <QCursor>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace {
QFont emptyFont()
{
    return Theme::font(12, QFont::Medium);
}

ProjectList::ItemStyle rowStyle()
{
    ProjectList::ItemStyle style;
    // A divider line under the header and between two rows, none after the last.
    style.firstTop = TableHeader::kHeight + 1;
    style.gap = 1;
    style.bleed = QMargins(0, 1, 0, 0);
    return style;
}
} // namespace

ProjectTable::ProjectTable(Store& store, QWidget* parent)
    : ProjectList(store, new ProjectTableModel(store), rowStyle(), parent),
      m_header(new TableHeader(store, kRadius, this))
{
    // The table's rows are its own.
    model()->setParent(this);
    setObjectName(QStringLiteral("projectTable"));
    setAccessibleName(QStringLiteral("Projects"));
    setAcceptDrops(false);
    relayout();
}

ProjectTableModel* ProjectTable::model() const
{
    return static_cast<ProjectTableModel*>(listModel());
}

int ProjectTable::itemHeight(int row) const
{
    const Project& p = model()->project(row);
    return ProjectRow::height(p.outsource > 0, Payments::showsDue(p));
}

void ProjectTable::laidOut()
{
    const int height = projectCount() > 0 ? itemsBottom()
                                          : TableHeader::kHeight + 1 + 2 * kEmptyPadding +
                                                QFontMetrics(emptyFont()).height();
    if (height != m_frameHeight) {
        m_frameHeight = height;
        updateGeometry();
        // Until the layout gets to it, keep the widget's own height right.
        resize(width(), height + kShadowBleed);
    }
    followPointer();
}

QSize ProjectTable::sizeHint() const
{
    return {600, m_frameHeight + kShadowBleed};
}

QSize ProjectTable::minimumSizeHint() const
{
    return {400, m_frameHeight + kShadowBleed};
}

QString ProjectTable::emptyText() const
{
    if (projectCount() > 0)
        return {};
    const Store& s = store();
    if (!s.ui().searchQuery().isEmpty())
        return s.tr(QStringLiteral("No matches"), QStringLiteral("Eşleşme bulunamadı"));
    const QString year = QString::number(s.activeYear());
    return s.tr(QStringLiteral("No projects in %1 yet"), QStringLiteral("%1 yılında henüz proje yok"))
        .arg(year);
}

ProjectRow::Content ProjectTable::content(int row) const
{
    ProjectRow::Content c;
    readTexts(row, c);
    // The same words in both languages.
    if (!c.outsource.isEmpty())
        c.outsource.prepend(QStringLiteral("Outsource: -"));
    const QModelIndex index = model()->index(row);
    c.status = Status(index.data(ProjectListModel::StatusRole).toInt());
    c.statusTitle = index.data(ProjectListModel::StatusTitleRole).toString();
    return c;
}

QString ProjectTable::itemDescription(int row) const
{
    return content(row).description();
}

QRectF ProjectTable::editButtonRect(const QRectF& item) const
{
    return ProjectRow::editButtonRect(item);
}

QWidget* ProjectTable::leadingWidget() const
{
    return m_header;
}

void ProjectTable::resizeEvent(QResizeEvent* event)
{
    ProjectList::resizeEvent(event);
    m_header->setGeometry(0, 0, width(), TableHeader::kHeight);
}

void ProjectTable::moveEvent(QMoveEvent* event)
{
    ProjectList::moveEvent(event);
    // Scrolling moves the rows under a resting pointer.
    followPointer();
}

void ProjectTable::followPointer()
{
    if (!underMouse() || !isVisible())
        setHover(-1);
    else
        hoverAt(mapFromGlobal(QCursor::pos()));
}

qreal ProjectTable::capTop() const
{
    return m_frameHeight - kRadius - 1;
}

void ProjectTable::paintEvent(QPaintEvent* event)
{
    ++m_paintCount;
    QPainter p(this);
    const QRect clip = event->rect();
    paintFrame(p, clip);
    if (projectCount() == 0)
        paintEmpty(p);
    paintItems(p, clip);

    // The frame's outline inside its edge, over the rows; the header draws its own part.
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Theme::border(), 1));
    p.setBrush(Qt::NoBrush);
    const qreal cap = capTop();
    if (clip.top() < cap) {
        p.drawLine(QPointF(0.5, TableHeader::kHeight), QPointF(0.5, cap));
        p.drawLine(QPointF(width() - 0.5, TableHeader::kHeight), QPointF(width() - 0.5, cap));
    }
    if (clip.bottom() >= cap) {
        p.save();
        p.setClipRect(QRectF(0, cap, width(), kRadius + 1), Qt::IntersectClip);
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
    const qreal cap = capTop();
    p.fillRect(QRectF(0, kRadius, width(), std::max<qreal>(0, cap - kRadius)).intersected(QRectF(clip)),
               Qt::white);
    if (clip.bottom() >= cap) {
        p.save();
        p.setClipRect(QRectF(0, cap, width(), kRadius + 1), Qt::IntersectClip);
        Painters::roundedCard(p, QRectF(0, m_frameHeight - 3 * kRadius, width(), 3 * kRadius), kRadius,
                              Qt::white);
        p.restore();
    }
}

void ProjectTable::paintItem(QPainter& p, int row, const QRect& rect, bool current)
{
    p.fillRect(QRect(0, rect.top() - 1, width(), 1), Theme::border());
    // Only the last row reaches the frame's rounded corners.
    const bool atCorners = rect.bottom() >= capTop();
    if (atCorners) {
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath rounded;
        rounded.addRoundedRect(QRectF(0, 0, width(), m_frameHeight), kRadius, kRadius);
        p.setClipPath(rounded, Qt::IntersectClip);
    }
    ProjectRow::paint(p, QRectF(rect), content(row), hoverAmount(row) > 0);
    if (current)
        cursor().paintRing(p, QRectF(rect).adjusted(2, 1, -2, -1), 8);
    if (atCorners)
        p.restore();
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
