#include "board/ColumnHeader.h"

#include "board/ColumnModel.h"
#include "board/DragScroller.h"
#include "model/Store.h"
#include "ui/AccessibleKit.h"
#include "ui/Icons.h"
#include "ui/KeyboardFocus.h"
#include "ui/Painters.h"
#include "ui/StatusStyle.h"
#include "ui/Theme.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QToolTip>

namespace {
constexpr int kGap = 8;
constexpr int kDot = 10;

QFont titleFont()
{
    return Theme::font(12, QFont::Bold, 0.6);
}
QFont countFont()
{
    return Theme::font(11, QFont::Bold);
}
QFont sumFont()
{
    return Theme::font(12, QFont::ExtraBold);
}

// The header as one accessible element that offers the two column moves by name.
class ColumnHeaderAccessible final : public QAccessibleWidget
{
public:
    explicit ColumnHeaderAccessible(ColumnHeader* header) : QAccessibleWidget(header, QAccessible::Row) {}

    QString text(QAccessible::Text t) const override
    {
        const auto* h = static_cast<const ColumnHeader*>(object());
        if (t == QAccessible::Name)
            return h->titleText() + QStringLiteral(", ") + h->countText() + QStringLiteral(", ") +
                   h->sumText();
        return QAccessibleWidget::text(t);
    }
    int childCount() const override { return 0; }
    QStringList actionNames() const override
    {
        return QStringList{ColumnHeader::moveLeftName(), ColumnHeader::moveRightName()} +
               QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override
    {
        const auto* h = static_cast<const ColumnHeader*>(object());
        if (name == ColumnHeader::moveLeftName())
            h->moveLeft();
        else if (name == ColumnHeader::moveRightName())
            h->moveRight();
        else
            QAccessibleWidget::doAction(name);
    }
};

} // namespace

ColumnHeader::ColumnHeader(Store& store, ColumnModel* model, QWidget* parent)
    : QWidget(parent), m_store(store), m_model(model)
{
    AccessibleKit::install<ColumnHeader, ColumnHeaderAccessible>();
    setObjectName(QStringLiteral("columnHeader"));
    setMouseTracking(true);
    // A Tab stop: the arrow keys move the column, as its handle does with the pointer.
    KeyboardFocus::track(this);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    // The model announces language changes too: its sums are money texts.
    connect(m_model, &ColumnModel::summaryChanged, this, &ColumnHeader::refresh);
}

Status ColumnHeader::status() const
{
    return m_model->status();
}

void ColumnHeader::setDark(bool dark)
{
    if (dark == m_dark)
        return;
    m_dark = dark;
    update();
}

void ColumnHeader::refresh()
{
    updateGeometry();
    update();
    QAccessibleEvent e(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&e);
}

QString ColumnHeader::titleText() const
{
    return StatusStyle::upperTitle(status(), m_store.language());
}

QString ColumnHeader::countText() const
{
    return QString::number(m_model->rowCount());
}

QString ColumnHeader::sumText() const
{
    return m_store.money(m_model->feeSum());
}

QRect ColumnHeader::handleRect() const
{
    return QRect(0, (height() - kHandleHeight) / 2, kHandleWidth, kHandleHeight);
}

QSize ColumnHeader::sizeHint() const
{
    const QFontMetrics count(countFont());
    const QFontMetrics sum(sumFont());
    const int h = std::max({kHandleHeight, sum.height() + 8, count.height() + 4});
    const int w = kHandleWidth + kGap + kDot + kGap +
                  QFontMetrics(titleFont()).horizontalAdvance(titleText()) + kGap +
                  count.horizontalAdvance(countText()) + 16 + 20 + sum.horizontalAdvance(sumText()) + 24;
    return QSize(w, h);
}

QSize ColumnHeader::minimumSizeHint() const
{
    return QSize(120, sizeHint().height());
}

void ColumnHeader::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() == Qt::NoModifier && event->key() == Qt::Key_Left) {
        moveLeft();
        return;
    }
    if (event->modifiers() == Qt::NoModifier && event->key() == Qt::Key_Right) {
        moveRight();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ColumnHeader::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    KeyboardFocus::paintRing(p, this, QRectF(rect()).adjusted(1, 1, -1, -1));
    const int h = height();
    const int mid = h / 2;

    const QColor handleColor = m_dark ? QColor(255, 255, 255, 217) : Theme::muted();
    const qreal dpr = devicePixelRatioF();
    const QPixmap handle =
        Icons::pixmap(QStringLiteral("line.3.horizontal"), handleColor, 11, dpr, QFont::DemiBold);
    const QRect hr = handleRect();
    p.drawPixmap(QRectF(hr.center().x() + 0.5 - 5.5, hr.center().y() + 0.5 - 5.5, 11, 11), handle,
                 QRectF(handle.rect()));

    int x = kHandleWidth + kGap;
    p.setPen(Qt::NoPen);
    p.setBrush(StatusStyle::dot(status()));
    p.drawEllipse(QRectF(x, mid - kDot / 2.0, kDot, kDot));
    x += kDot + kGap;

    // The sum pill keeps its full width at the right; the title gives way first.
    const QFontMetrics sumMetrics(sumFont());
    const QString sum = sumText();
    const int pillW = sumMetrics.horizontalAdvance(sum) + 24;
    const int pillH = sumMetrics.height() + 8;
    const QRect pill(width() - pillW, mid - pillH / 2, pillW, pillH);
    Painters::capsule(p, QRectF(pill), StatusStyle::strong(status()));
    p.setFont(sumFont());
    p.setPen(Qt::white);
    p.drawText(pill, Qt::AlignCenter, sum);

    const QFontMetrics countMetrics(countFont());
    const QString count = countText();
    const int countW = countMetrics.horizontalAdvance(count) + 16;
    const int countH = countMetrics.height() + 4;
    const QFontMetrics titleMetrics(titleFont());
    const int titleRoom = std::max(0, pill.left() - kGap - 4 - kGap - countW - kGap - x);
    const QString title = titleMetrics.elidedText(titleText(), Qt::ElideRight, titleRoom);
    p.setFont(titleFont());
    p.setPen(m_dark ? QColor(Qt::white) : Theme::ink());
    const int titleW = titleMetrics.horizontalAdvance(title);
    p.drawText(QRect(x, 0, titleW + 2, h), Qt::AlignVCenter | Qt::AlignLeft, title);
    x += titleW + kGap;

    const QRect badge(x, mid - countH / 2, countW, countH);
    Painters::capsule(p, QRectF(badge), QColor(255, 255, 255, 204), QColor(0, 0, 0, 15), 1);
    p.setFont(countFont());
    p.setPen(Theme::secondary());
    p.drawText(badge, Qt::AlignCenter, count);
}

int ColumnHeader::columnIndex() const
{
    const qsizetype i = m_store.data().columnOrder.indexOf(status());
    return i < 0 ? 0 : int(i);
}

QMenu* ColumnHeader::createMenu(QWidget* parent) const
{
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("columnMenu"));
    const int index = columnIndex();
    const int count = int(m_store.data().columnOrder.size());
    QAction* left =
        menu->addAction(m_store.tr(QStringLiteral("Move Column Left"), QStringLiteral("Sütunu Sola Taşı")));
    left->setEnabled(index != 0);
    connect(left, &QAction::triggered, this, &ColumnHeader::moveLeft);
    QAction* right =
        menu->addAction(m_store.tr(QStringLiteral("Move Column Right"), QStringLiteral("Sütunu Sağa Taşı")));
    right->setEnabled(index + 1 != count);
    connect(right, &QAction::triggered, this, &ColumnHeader::moveRight);
    return menu;
}

void ColumnHeader::moveLeft() const
{
    m_store.moveColumn(status(), -1);
}

void ColumnHeader::moveRight() const
{
    m_store.moveColumn(status(), 1);
}

void ColumnHeader::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void ColumnHeader::mousePressEvent(QMouseEvent* event)
{
    m_pressedOnHandle =
        event->button() == Qt::LeftButton && handleRect().contains(event->position().toPoint());
    m_pressPos = event->position().toPoint();
    QWidget::mousePressEvent(event);
}

void ColumnHeader::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    setCursor(handleRect().contains(pos) ? Qt::OpenHandCursor : Qt::ArrowCursor);
    if (!m_pressedOnHandle || !(event->buttons() & Qt::LeftButton) ||
        (pos - m_pressPos).manhattanLength() < QApplication::startDragDistance())
        return;
    m_pressedOnHandle = false;
    auto* mime = new QMimeData;
    mime->setText(QStringLiteral("col:") + StatusInfo::rawValue(status()));
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    const QPixmap preview = dragPreview();
    drag->setPixmap(preview);
    drag->setHotSpot(QPoint(int(preview.width() / preview.devicePixelRatio() / 2),
                            int(preview.height() / preview.devicePixelRatio() / 2)));
    const DragScroller::Session scrolling;
    drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
}

void ColumnHeader::mouseReleaseEvent(QMouseEvent* event)
{
    m_pressedOnHandle = false;
    QWidget::mouseReleaseEvent(event);
}

bool ColumnHeader::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (handleRect().contains(help->pos())) {
            QToolTip::showText(help->globalPos(),
                               m_store.tr(QStringLiteral("Drag column to reorder"),
                                          QStringLiteral("Sıralamak için sütunu sürükleyin")),
                               this, handleRect());
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

QPixmap ColumnHeader::dragPreview() const
{
    const QFont font = Theme::font(12, QFont::Bold);
    const QFontMetricsF fm(font);
    const QString text = titleText();
    const QSizeF size(std::ceil(fm.horizontalAdvance(text)) + 28, std::ceil(fm.height()) + 16);
    const qreal dpr = devicePixelRatioF();
    QPixmap pixmap((size * dpr).toSize());
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    const QColor fill = Theme::fromRgb(m_store.columnColor(status()));
    Painters::capsule(p, QRectF(QPointF(0, 0), size), fill);
    p.setFont(font);
    p.setPen(Theme::isDark(fill) ? QColor(Qt::white) : Theme::ink());
    p.drawText(QRectF(QPointF(0, 0), size), Qt::AlignCenter, text);
    return pixmap;
}
