#include "board/CardList.h"

#include "board/ColumnModel.h"
#include "board/DragScroller.h"
#include "board/PaintedProjectsAccessible.h"
#include "board/ProjectCard.h"
#include "board/ProjectCardDelegate.h"
#include "board/ProjectMenu.h"
#include "model/Store.h"
#include "model/Text.h"
#include "ui/Animations.h"
#include "ui/StatusStyle.h"
#include "ui/Theme.h"

#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <QVariantAnimation>
#include <algorithm>

namespace {
constexpr int kPlaceholderPad = 48;
constexpr int kHoverMs = 150;
const QColor kPlaceholderOutline(0xD6, 0xD3, 0xD1);

QFont placeholderFont()
{
    return Theme::font(12, QFont::Medium);
}

QVariantAnimation* hoverAnimation(QObject* parent)
{
    auto* a = new QVariantAnimation(parent);
    a->setDuration(kHoverMs);
    a->setEasingCurve(QEasingCurve::OutCubic);
    return a;
}
} // namespace

CardList::CardList(Store* store, ColumnModel* model, QWidget* parent)
    : QWidget(parent), m_store(store), m_model(model), m_delegate(new ProjectCardDelegate(store, this)),
      m_inAnimation(hoverAnimation(this)), m_outAnimation(hoverAnimation(this))
{
    setObjectName(QStringLiteral("cardList"));
    PaintedProjectsAccessible::install();
    // Reached with Tab, moved through with the arrow keys; a click keeps its own meaning.
    setFocusPolicy(Qt::TabFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_NoSystemBackground);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    connect(m_inAnimation, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        m_hoverIn = v.toReal();
        updateCard(m_hoverId);
    });
    connect(m_outAnimation, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        m_hoverOut = v.toReal();
        updateCard(m_leavingId);
    });

    const auto relayoutNow = [this] { relayout(); };
    connect(m_model, &QAbstractItemModel::rowsInserted, this, relayoutNow);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, relayoutNow);
    connect(m_model, &QAbstractItemModel::rowsMoved, this, relayoutNow);
    connect(m_model, &QAbstractItemModel::modelReset, this, relayoutNow);
    connect(m_model, &QAbstractItemModel::layoutChanged, this, relayoutNow);
    connect(m_model, &QAbstractItemModel::dataChanged, this, relayoutNow);
    if (m_store)
        connect(m_store, &Store::searchQueryChanged, this, qOverload<>(&QWidget::update));
    relayout();
}

void CardList::setDark(bool dark)
{
    if (dark == m_dark)
        return;
    m_dark = dark;
    update();
}

void CardList::relayout()
{
    const QVector<Project>& projects = m_model->projects();
    m_tops.resize(projects.size());
    const int plain = ProjectCard::height(false);
    const int withOutsource = ProjectCard::height(true);
    int y = 0;
    for (int i = 0; i < projects.size(); ++i) {
        m_tops[i] = y;
        y += (projects.at(i).outsource > 0 ? withOutsource : plain) + kSpacing;
    }
    const int height = projects.isEmpty() ? 0 : y - kSpacing;
    if (height != m_stackHeight || projects.isEmpty()) {
        m_stackHeight = height;
        updateGeometry();
    }
    if (QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent change(this, QAccessibleTableModelChangeEvent::ModelReset);
        QAccessible::updateAccessibility(&change);
    }
    // A card that left this column takes its hover with it.
    if (!m_hoverId.isNull()) {
        const bool present = std::any_of(projects.begin(), projects.end(),
                                         [this](const Project& p) { return p.id == m_hoverId; });
        if (!present) {
            m_inAnimation->stop();
            m_hoverId = QUuid();
            m_hoverIn = 0;
        }
    }
    update();
}

int CardList::placeholderHeight() const
{
    return 2 * kPlaceholderPad + QFontMetrics(placeholderFont()).height();
}

int CardList::contentHeight() const
{
    const QMargins m = ProjectCard::shadowMargins();
    const int body = m_model->rowCount() > 0 ? m_stackHeight : placeholderHeight();
    return m.top() + body + m.bottom();
}

QSize CardList::sizeHint() const
{
    return QSize(280, contentHeight());
}

QSize CardList::minimumSizeHint() const
{
    return QSize(120, contentHeight());
}

QRect CardList::cardRect(int row) const
{
    if (row < 0 || row >= m_tops.size())
        return {};
    const QMargins m = ProjectCard::shadowMargins();
    const int h = ProjectCard::height(m_model->project(row).outsource > 0);
    return QRect(m.left(), m.top() + m_tops.at(row), std::max(0, width() - m.left() - m.right()), h);
}

int CardList::rowAt(const QPoint& pos) const
{
    if (m_tops.isEmpty())
        return -1;
    const int y = pos.y() - ProjectCard::shadowMargins().top();
    // The last card starting at or above y.
    const auto it = std::upper_bound(m_tops.begin(), m_tops.end(), y);
    if (it == m_tops.begin())
        return -1;
    const int row = int(it - m_tops.begin()) - 1;
    return cardRect(row).contains(pos) ? row : -1;
}

QString CardList::emptyText() const
{
    if (m_model->rowCount() > 0)
        return {};
    // Any character in the search text counts, blanks included.
    const bool searching = m_store && !m_store->searchQuery().isEmpty();
    if (!m_store)
        return QStringLiteral("Drop projects here");
    return searching ? m_store->tr(QStringLiteral("No matches"), QStringLiteral("Eşleşme bulunamadı"))
                     : m_store->tr(QStringLiteral("Drop projects here"),
                                   QStringLiteral("Projeleri buraya bırakın"));
}

qreal CardList::hoverAmount(const QUuid& id) const
{
    if (id.isNull())
        return 0;
    if (id == m_hoverId)
        return m_hoverIn;
    if (id == m_leavingId)
        return m_hoverOut;
    return 0;
}

void CardList::setHover(const QUuid& id)
{
    if (id == m_hoverId)
        return;
    const bool animate = Animations::enabled() && isVisible();
    // The card being left fades out; one that was still fading out snaps to rest.
    const QUuid snapped = m_leavingId;
    m_outAnimation->stop();
    m_leavingId = m_hoverId;
    const qreal leavingFrom = m_hoverIn;
    m_inAnimation->stop();
    m_hoverId = id;
    m_hoverIn = animate || id.isNull() ? 0 : 1;
    m_hoverOut = animate ? leavingFrom : 0;
    if (animate) {
        if (!m_leavingId.isNull()) {
            m_outAnimation->setStartValue(leavingFrom);
            m_outAnimation->setEndValue(0.0);
            m_outAnimation->start();
        }
        if (!id.isNull()) {
            m_inAnimation->setStartValue(0.0);
            m_inAnimation->setEndValue(1.0);
            m_inAnimation->start();
        }
    }
    for (const QUuid& changed : {snapped, m_leavingId, m_hoverId})
        updateCard(changed);
}

void CardList::updateCard(const QUuid& id)
{
    // Only the card and the reach of its shadow change, not the whole column.
    if (const int row = id.isNull() ? -1 : m_model->rowOf(id); row >= 0)
        update(cardRect(row).marginsAdded(ProjectCard::shadowMargins()));
}

void CardList::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    m_painted = 0;
    m_firstPainted = -1;
    const QMargins m = ProjectCard::shadowMargins();
    if (m_model->rowCount() == 0) {
        const QRectF box(m.left(), m.top(), width() - m.left() - m.right(), placeholderHeight());
        QPainterPath path;
        path.addRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), 15.5, 15.5);
        p.fillPath(path, QColor(255, 255, 255, m_dark ? 31 : 102));
        QPen pen(kPlaceholderOutline, 1);
        pen.setDashPattern({4, 3});
        p.setPen(pen);
        p.drawPath(path);
        p.setFont(placeholderFont());
        p.setPen(m_dark ? QColor(Qt::white) : Theme::muted());
        p.drawText(box, Qt::AlignCenter, emptyText());
        return;
    }
    // Shadows reach past a card, so cards just outside the exposed band are drawn as well.
    const QRect exposed = event->rect().adjusted(0, -m.bottom(), 0, m.top());
    const int firstY = exposed.top() - m.top();
    auto it = std::upper_bound(m_tops.begin(), m_tops.end(), firstY);
    int row = std::max(0, int(it - m_tops.begin()) - 1);
    // Looked up once: finding the keyboard's project is a search of the column.
    const int current = hasFocus() ? m_cursor.row() : -1;
    for (; row < m_tops.size(); ++row) {
        const QRect card = cardRect(row);
        if (card.top() > exposed.bottom())
            break;
        if (card.bottom() < exposed.top())
            continue;
        const QModelIndex index = m_model->index(row);
        m_delegate->paintCard(&p, QRectF(card), index, hoverAmount(m_model->project(row).id));
        if (row == current)
            m_cursor.paintRing(p, QRectF(card), ProjectCard::kRadius);
        if (m_painted++ == 0)
            m_firstPainted = row;
    }
}

void CardList::mousePressEvent(QMouseEvent* event)
{
    m_pressRow = -1;
    if (event->button() == Qt::LeftButton) {
        m_pressPos = event->position().toPoint();
        m_pressRow = rowAt(m_pressPos);
    }
    QWidget::mousePressEvent(event);
}

void CardList::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if ((event->buttons() & Qt::LeftButton) && m_pressRow >= 0 &&
        (pos - m_pressPos).manhattanLength() >= QApplication::startDragDistance()) {
        const int row = m_pressRow;
        m_pressRow = -1;
        startDrag(row);
        return;
    }
    const int row = rowAt(pos);
    setHover(row >= 0 ? m_model->project(row).id : QUuid());
    const bool overEdit = row >= 0 && ProjectCard::editButtonRect(cardRect(row)).contains(pos);
    setCursor(overEdit ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void CardList::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && m_pressRow >= 0 && rowAt(pos) == m_pressRow &&
        ProjectCard::editButtonRect(cardRect(m_pressRow)).contains(pos))
        openEditor(m_pressRow);
    m_pressRow = -1;
    QWidget::mouseReleaseEvent(event);
}

void CardList::mouseDoubleClickEvent(QMouseEvent* event)
{
    const int row = rowAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && row >= 0)
        openEditor(row);
    m_pressRow = -1;
}

void CardList::contextMenuEvent(QContextMenuEvent* event)
{
    const int row = rowAt(event->pos());
    if (row < 0 || !m_store) {
        event->ignore();
        return;
    }
    openMenu(row, event->globalPos());
}

void CardList::openMenu(int row, const QPoint& globalPos)
{
    if (!m_store || row < 0 || row >= m_model->rowCount())
        return;
    auto* menu = new ProjectMenu(m_store, m_model->project(row).id, this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}

int CardList::projectCount() const
{
    return m_model->rowCount();
}

QUuid CardList::projectIdAt(int row) const
{
    return m_model->project(row).id;
}

int CardList::rowOfProject(const QUuid& id) const
{
    return m_model->rowOf(id);
}

QRectF CardList::editButtonRect(const QRectF& item) const
{
    return ProjectCard::editButtonRect(item);
}

QString CardList::itemName(int row) const
{
    return m_model->index(row).data(Qt::DisplayRole).toString();
}

QString CardList::itemDescription(int row) const
{
    const QModelIndex index = m_model->index(row);
    // The status first: a card says which column it is in.
    QStringList parts{StatusStyle::title(m_model->status(), m_store ? m_store->language() : AppLanguage::en),
                      index.data(ColumnModel::FeeTextRole).toString(),
                      index.data(ColumnModel::ClientRole).toString(),
                      index.data(ColumnModel::CategoryRole).toString()};
    if (index.data(ColumnModel::OutsourceRole).toDouble() > 0)
        parts << QStringLiteral("Outsource: ") + index.data(ColumnModel::OutsourceTextRole).toString()
              << QStringLiteral("Net: ") + index.data(ColumnModel::NetTextRole).toString();
    return parts.join(QStringLiteral(", "));
}

void CardList::leaveEvent(QEvent* event)
{
    setHover(QUuid());
    QWidget::leaveEvent(event);
}

bool CardList::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int row = rowAt(help->pos());
        const QRect edit = row >= 0 ? ProjectCard::editButtonRect(cardRect(row)).toAlignedRect() : QRect();
        if (m_store && edit.contains(help->pos())) {
            QToolTip::showText(help->globalPos(),
                               m_store->tr(QStringLiteral("Edit project"), QStringLiteral("Projeyi düzenle")),
                               this, edit);
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

void CardList::openEditor(int row)
{
    if (m_store && row >= 0 && row < m_model->rowCount())
        m_store->setEditor(EditorTarget::edit(m_model->project(row).id));
}

void CardList::startDrag(int row)
{
    const Project project = m_model->project(row);
    auto* mime = new QMimeData;
    mime->setText(QStringLiteral("card:") + uuidText(project.id));
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    const QPixmap preview = ProjectCard::dragPreview(Text::shown(project.name), devicePixelRatioF());
    drag->setPixmap(preview);
    drag->setHotSpot(QPoint(int(preview.width() / preview.devicePixelRatio() / 2),
                            int(preview.height() / preview.devicePixelRatio() / 2)));
    // The drag runs its own event loop; a drop may rebuild the board around this list.
    const QPointer<CardList> self(this);
    const DragScroller::Session scrolling;
    drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
    if (self)
        setHover(QUuid());
}
