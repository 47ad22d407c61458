#include "board/ProjectList.h"

#include "board/ProjectListAccessible.h"
#include "board/ProjectListModel.h"
#include "board/ProjectMenu.h"
#include "model/Store.h"
#include "ui/Animations.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <QVariantAnimation>
#include <algorithm>

namespace {
constexpr int kHoverMs = 150;

QVariantAnimation* hoverAnimation(QObject* parent)
{
    auto* a = new QVariantAnimation(parent);
    a->setDuration(kHoverMs);
    a->setEasingCurve(QEasingCurve::OutCubic);
    return a;
}
} // namespace

ProjectList::ProjectList(Store& store, ProjectListModel* model, const ItemStyle& style, QWidget* parent)
    : QWidget(parent), m_store(store), m_model(model), m_style(style), m_inAnimation(hoverAnimation(this)),
      m_outAnimation(hoverAnimation(this))
{
    ProjectListAccessible::install();
    // Reached with Tab, moved through with the arrow keys; a click keeps its own meaning.
    setFocusPolicy(Qt::TabFocus);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    connect(m_inAnimation, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        m_hoverIn = v.toReal();
        updateItem(m_hoverId);
    });
    connect(m_outAnimation, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        m_hoverOut = v.toReal();
        updateItem(m_leavingId);
    });

    const auto relayoutNow = [this] { relayout(); };
    connect(m_model, &QAbstractItemModel::rowsInserted, this, relayoutNow);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, relayoutNow);
    connect(m_model, &QAbstractItemModel::rowsMoved, this, relayoutNow);
    connect(m_model, &QAbstractItemModel::modelReset, this, relayoutNow);
    connect(m_model, &QAbstractItemModel::layoutChanged, this, relayoutNow);
    connect(m_model, &QAbstractItemModel::dataChanged, this, relayoutNow);
    // The empty state's text follows the search, the year and the language; the due days, the day.
    for (auto signal : {&Store::activeYearChanged, &Store::languageChanged, &Store::dayChanged})
        connect(&m_store, signal, this, qOverload<>(&QWidget::update));
    // Items that the search changes are laid out and repainted with the model's report; without
    // one, a list showing items shows the same ones.
    connect(&m_store.ui(), &UiState::searchQueryChanged, this, [this] {
        if (projectCount() == 0)
            update();
    });
}

Store& ProjectList::store() const
{
    return m_store;
}

AppLanguage ProjectList::language() const
{
    return m_model->language();
}

void ProjectList::readTexts(int row, ProjectTexts& texts) const
{
    const QModelIndex index = m_model->index(row);
    texts.name = index.data(Qt::DisplayRole).toString();
    texts.client = index.data(ProjectListModel::ClientRole).toString();
    texts.category = index.data(ProjectListModel::CategoryRole).toString();
    texts.fee = index.data(ProjectListModel::FeeTextRole).toString();
    texts.outsource = index.data(ProjectListModel::OutsourceTextRole).toString();
    texts.due = index.data(ProjectListModel::DueTextRole).toString();
    texts.overdue = !texts.due.isEmpty() && index.data(ProjectListModel::OverdueRole).toBool();
}

QString ProjectList::itemName(int row) const
{
    ProjectTexts texts;
    readTexts(row, texts);
    return texts.name;
}

int ProjectList::projectCount() const
{
    return m_model->rowCount();
}

QUuid ProjectList::projectIdAt(int row) const
{
    return m_model->project(row).id;
}

int ProjectList::rowOfProject(const QUuid& id) const
{
    return m_model->rowOf(id);
}

void ProjectList::relayout()
{
    const int n = m_model->rowCount();
    m_tops.resize(n);
    m_heights.resize(n);
    int y = m_style.firstTop;
    for (int i = 0; i < n; ++i) {
        m_tops[i] = y;
        m_heights[i] = itemHeight(i);
        y += m_heights[i] + m_style.gap;
    }
    if (QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent change(this, QAccessibleTableModelChangeEvent::ModelReset);
        QAccessible::updateAccessibility(&change);
    }
    // An item that left the list takes its hover with it.
    if (!m_hoverId.isNull() && m_model->rowOf(m_hoverId) < 0) {
        m_inAnimation->stop();
        m_hoverId = QUuid();
        m_hoverIn = 0;
    }
    laidOut();
    update();
}

int ProjectList::itemsBottom() const
{
    return m_tops.isEmpty() ? m_style.firstTop - m_style.gap : m_tops.last() + m_heights.last();
}

QRect ProjectList::itemRect(int row) const
{
    if (row < 0 || row >= m_tops.size())
        return {};
    return QRect(m_style.side, m_tops.at(row), std::max(0, width() - 2 * m_style.side), m_heights.at(row));
}

int ProjectList::rowAt(const QPoint& pos) const
{
    // The last item starting at or above the point, if the point is inside it.
    const auto it = std::upper_bound(m_tops.cbegin(), m_tops.cend(), pos.y());
    if (it == m_tops.cbegin())
        return -1;
    const int row = int(it - m_tops.cbegin()) - 1;
    return itemRect(row).contains(pos) ? row : -1;
}

int ProjectList::nearestRow(int y) const
{
    if (m_tops.isEmpty())
        return -1;
    // The last item starting at or above y, or the one after it.
    const int below = int(std::upper_bound(m_tops.cbegin(), m_tops.cend(), y) - m_tops.cbegin());
    int best = -1;
    for (int row : {below - 1, below}) {
        if (row < 0 || row >= m_tops.size())
            continue;
        const int distance = std::abs(m_tops.at(row) + m_heights.at(row) / 2 - y);
        if (best < 0 || distance < std::abs(m_tops.at(best) + m_heights.at(best) / 2 - y))
            best = row;
    }
    return best;
}

bool ProjectList::onEditButton(int row, const QPoint& pos) const
{
    return row >= 0 && editButtonRect(QRectF(itemRect(row))).contains(QPointF(pos));
}

void ProjectList::paintItems(QPainter& p, const QRect& clip)
{
    m_painted = 0;
    m_firstPainted = -1;
    // An item's painting reaches past its rectangle, so items just outside the band are drawn too.
    const QRect band = clip.adjusted(0, -m_style.bleed.bottom(), 0, m_style.bleed.top());
    const auto first = std::upper_bound(m_tops.cbegin(), m_tops.cend(), band.top());
    // Looked up once: finding the keyboard's project is a search of the list.
    const int current = hasFocus() ? m_cursor.row() : -1;
    for (int row = std::max(0, int(first - m_tops.cbegin()) - 1); row < m_tops.size(); ++row) {
        const QRect item = itemRect(row);
        if (item.top() > band.bottom())
            break;
        if (item.bottom() < band.top())
            continue;
        paintItem(p, row, item, row == current);
        if (m_painted++ == 0)
            m_firstPainted = row;
    }
}

// --- hover ---------------------------------------------------------------------------------------

int ProjectList::hoveredRow() const
{
    return m_hoverId.isNull() ? -1 : m_model->rowOf(m_hoverId);
}

qreal ProjectList::hoverAmount(int row) const
{
    if (m_hoverId.isNull() && m_leavingId.isNull())
        return 0;
    const QUuid id = projectIdAt(row);
    if (id == m_hoverId)
        return m_hoverIn;
    if (id == m_leavingId)
        return m_hoverOut;
    return 0;
}

void ProjectList::setHover(int row)
{
    setHoverId(row >= 0 && row < projectCount() ? projectIdAt(row) : QUuid());
}

void ProjectList::setHoverId(const QUuid& id)
{
    if (id == m_hoverId)
        return;
    const bool animate = m_style.hoverFades && Animations::enabled() && isVisible();
    // The item being left fades out; one that was still fading out snaps to rest.
    const QUuid snapped = m_leavingId;
    const QUuid left = m_hoverId;
    const qreal leavingFrom = m_hoverIn;
    m_outAnimation->stop();
    m_inAnimation->stop();
    m_leavingId = animate ? left : QUuid();
    m_hoverId = id;
    m_hoverIn = animate || id.isNull() ? 0 : 1;
    m_hoverOut = animate ? leavingFrom : 0;
    if (animate) {
        if (!left.isNull()) {
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
    for (const QUuid& changed : {snapped, left, id})
        updateItem(changed);
}

void ProjectList::updateItem(const QUuid& id)
{
    // Only the item and the reach of its painting change, not the whole list.
    if (const int row = id.isNull() ? -1 : m_model->rowOf(id); row >= 0)
        update(itemRect(row).marginsAdded(m_style.bleed));
}

void ProjectList::hoverAt(const QPoint& pos)
{
    const int row = rowAt(pos);
    setHover(row);
    setCursor(onEditButton(row, pos) ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void ProjectList::leaveEvent(QEvent* event)
{
    setHover(-1);
    QWidget::leaveEvent(event);
}

// --- the pointer ---------------------------------------------------------------------------------

int ProjectList::pressedRow() const
{
    return m_pressId.isNull() ? -1 : m_model->rowOf(m_pressId);
}

void ProjectList::mousePressEvent(QMouseEvent* event)
{
    m_pressId = QUuid();
    if (event->button() == Qt::LeftButton) {
        m_pressPos = event->position().toPoint();
        if (const int row = rowAt(m_pressPos); row >= 0)
            m_pressId = projectIdAt(row);
    }
    QWidget::mousePressEvent(event);
}

void ProjectList::mouseMoveEvent(QMouseEvent* event)
{
    hoverAt(event->position().toPoint());
}

void ProjectList::mouseReleaseEvent(QMouseEvent* event)
{
    const QUuid pressed = m_pressId;
    m_pressId = QUuid();
    const QPoint pos = event->position().toPoint();
    const int row = rowAt(pos);
    // A press anywhere on an item and a release on its pencil open the editor.
    if (event->button() == Qt::LeftButton && !pressed.isNull() && row >= 0 && projectIdAt(row) == pressed &&
        onEditButton(row, pos))
        openEditor(row);
    QWidget::mouseReleaseEvent(event);
}

void ProjectList::mouseDoubleClickEvent(QMouseEvent* event)
{
    const int row = rowAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && row >= 0)
        openEditor(row);
    m_pressId = QUuid();
}

bool ProjectList::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const QString tip = editToolTip();
    if (tip.isNull())
        return QWidget::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const int row = rowAt(help->pos());
    const QRect edit = row >= 0 ? editButtonRect(QRectF(itemRect(row))).toAlignedRect() : QRect();
    if (edit.contains(help->pos())) {
        QToolTip::showText(help->globalPos(), tip, this, edit);
    } else {
        QToolTip::hideText();
        event->ignore();
    }
    return true;
}

// --- the editor and the menu ---------------------------------------------------------------------

void ProjectList::openEditor(int row)
{
    if (row >= 0 && row < projectCount())
        m_store.ui().setEditor(EditorTarget::edit(projectIdAt(row)));
}

bool ProjectList::editorOpen() const
{
    return m_store.ui().editor().has_value();
}

void ProjectList::openMenu(int row, const QPoint& globalPos)
{
    if (row < 0 || row >= projectCount())
        return;
    auto* menu = new ProjectMenu(m_store, projectIdAt(row), this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}

void ProjectList::contextMenuEvent(QContextMenuEvent* event)
{
    // A pointer's menu is the item's under it. A keyboard's opens where inputMethodQuery says the
    // keyboard is, its item; with none there, on the item under the pointer.
    int row = rowAt(event->pos());
    if (event->reason() == QContextMenuEvent::Keyboard && row < 0)
        row = hoveredRow();
    if (row < 0) {
        event->ignore();
        return;
    }
    openMenu(row, event->globalPos());
}

QVariant ProjectList::inputMethodQuery(Qt::InputMethodQuery query) const
{
    // Qt opens a keyboard context menu at the centre of this rectangle of the focus widget. With
    // no keyboard item it is empty, and its centre lies on no item.
    if (query == Qt::ImCursorRectangle)
        return itemRect(currentRow());
    return QWidget::inputMethodQuery(query);
}
