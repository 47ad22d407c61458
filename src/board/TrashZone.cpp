#include "board/TrashZone.h"

#include "board/BoardColumn.h"
#include "model/Store.h"
#include "ui/Animations.h"
#include "ui/Icons.h"
#include "ui/KeyboardFocus.h"
#include "ui/Painters.h"
#include "ui/Spring.h"
#include "ui/Theme.h"

#include <QAbstractScrollArea>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QPainter>
#include <algorithm>

namespace {
// Room around the frame for the grown circle and its glow.
constexpr int kHaloMargin = 20;

const QColor kSymbolRest(0xEF, 0x44, 0x44);
const QColor kSymbolHot(0xDC, 0x26, 0x26);
const QColor kFillRest(0xFE, 0xF2, 0xF2);
const QColor kFillHot(0xFE, 0xE2, 0xE2);
const QColor kOutlineRest(0xF8, 0x71, 0x71);
const QColor kOutlineHot(0xEF, 0x44, 0x44);

// The widget a halo lives in: the page inside a scroll area (it scrolls and clips with it),
// or else the outermost widget below the window.
QWidget* haloHost(QWidget* zone)
{
    QWidget* w = zone;
    while (QWidget* parent = w->parentWidget()) {
        if (auto* area = qobject_cast<QAbstractScrollArea*>(parent->parentWidget());
            area && area->viewport() == parent)
            return w;
        if (parent->isWindow())
            return parent;
        w = parent;
    }
    return w == zone ? nullptr : w;
}
} // namespace

class TrashHalo final : public QWidget
{
public:
    TrashHalo(TrashZone* zone, QWidget* host) : QWidget(host), m_zone(zone)
    {
        setObjectName(QStringLiteral("trashHalo"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        m_zone->paintZone(p, QRectF(rect()).center());
    }

private:
    TrashZone* m_zone;
};

TrashZone::TrashZone(Store& store, QWidget* parent)
    : QWidget(parent), m_store(store), m_spring(new SpringAnimation(0.18, 0.85, this))
{
    setObjectName(QStringLiteral("trash"));
    setFixedSize(kSize, kSize);
    setAcceptDrops(true);
    setAccessibleName(QStringLiteral("Trash"));
    // Reachable with Tab, so that a screen reader finds it and reads what it is for.
    KeyboardFocus::track(this);
    setFocusPolicy(Qt::TabFocus);
    connect(m_spring, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        m_progress = v.toReal();
        update();
        if (m_halo)
            m_halo->update();
    });
    connect(&m_store, &Store::languageChanged, this, &TrashZone::retranslate);
    retranslate();
}

TrashZone::~TrashZone()
{
    delete m_halo.data();
}

void TrashZone::retranslate()
{
    setToolTip(m_store.tr(QStringLiteral("Drag any project card here to delete"),
                          QStringLiteral("Silmek için proje kartını buraya sürükleyin")));
}

QColor TrashZone::symbolColor() const
{
    return Theme::mix(kSymbolRest, kSymbolHot, m_progress);
}

QColor TrashZone::fillColor() const
{
    return Theme::mix(kFillRest, kFillHot, m_progress);
}

QColor TrashZone::outlineColor() const
{
    return Theme::mix(kOutlineRest, kOutlineHot, m_progress);
}

QColor TrashZone::glowColor() const
{
    QColor red(Qt::red);
    red.setAlphaF(float(0.35 * std::clamp<qreal>(m_progress, 0, 1)));
    return red;
}

void TrashZone::paintZone(QPainter& p, const QPointF& center) const
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const qreal side = kSize * scale();
    const QRectF circle(center.x() - side / 2, center.y() - side / 2, side, side);
    const QColor glow = glowColor();
    if (glow.alpha() > 0)
        Painters::shadow(p, circle, side / 2, glow, 9, QPointF(0, 0));
    Painters::capsule(p, circle, fillColor(), outlineColor(), 2);
    const qreal icon = 14 * scale();
    const QPixmap trash = Icons::pixmap(QStringLiteral("trash"), symbolColor(), int(std::ceil(icon)),
                                        p.device() ? p.device()->devicePixelRatioF() : 1, QFont::Medium);
    p.drawPixmap(QRectF(center.x() - icon / 2, center.y() - icon / 2, icon, icon), trash,
                 QRectF(trash.rect()));
    p.restore();
}

void TrashZone::paintEvent(QPaintEvent*)
{
    if (m_halo)
        return;
    QPainter p(this);
    p.setClipRect(rect());
    paintZone(p, QRectF(rect()).center());
    KeyboardFocus::paintRing(p, this, QRectF(rect()).adjusted(1, 1, -1, -1));
}

bool TrashZone::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::ParentChange:
    case QEvent::Show:
        attachHalo();
        break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Hide:
        placeHalo();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

bool TrashZone::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ParentChange:
        attachHalo();
        break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
        placeHalo();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void TrashZone::attachHalo()
{
    for (const QPointer<QWidget>& w : std::as_const(m_watched)) {
        if (w)
            w->removeEventFilter(this);
    }
    m_watched.clear();
    QWidget* host = haloHost(this);
    if (!host) {
        delete m_halo.data();
        update();
        return;
    }
    if (!m_halo || m_halo->parentWidget() != host) {
        delete m_halo.data();
        m_halo = new TrashHalo(this, host);
    }
    // Any ancestor moving below the host moves the zone within it.
    for (QWidget* w = parentWidget(); w && w != host; w = w->parentWidget()) {
        w->installEventFilter(this);
        m_watched.append(w);
    }
    host->installEventFilter(this);
    m_watched.append(host);
    placeHalo();
}

void TrashZone::placeHalo()
{
    if (!m_halo)
        return;
    QWidget* host = m_halo->parentWidget();
    if (!host || !isVisibleTo(host)) {
        m_halo->hide();
        return;
    }
    const QPoint topLeft = mapTo(host, QPoint(0, 0));
    m_halo->setGeometry(
        QRect(topLeft, size()).adjusted(-kHaloMargin, -kHaloMargin, kHaloMargin, kHaloMargin));
    m_halo->raise();
    m_halo->show();
    m_halo->update();
}

void TrashZone::setTargeted(bool targeted)
{
    if (targeted == m_targeted)
        return;
    m_targeted = targeted;
    const qreal target = targeted ? 1.0 : 0.0;
    m_spring->stop();
    if (!Animations::enabled() || !isVisible()) {
        m_progress = target;
        update();
        if (m_halo)
            m_halo->update();
        return;
    }
    m_spring->setStartValue(m_progress);
    m_spring->setEndValue(target);
    m_spring->start();
}

void TrashZone::dragEnterEvent(QDragEnterEvent* event)
{
    if (!event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    setTargeted(true);
}

void TrashZone::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->mimeData()->hasText())
        event->acceptProposedAction();
    else
        event->ignore();
}

void TrashZone::dragLeaveEvent(QDragLeaveEvent* event)
{
    setTargeted(false);
    QWidget::dragLeaveEvent(event);
}

void TrashZone::dropEvent(QDropEvent* event)
{
    setTargeted(false);
    if (!event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    if (m_store.handleTrashDrop(BoardColumn::droppedTexts(event->mimeData()->text())))
        event->acceptProposedAction();
    else
        event->ignore();
}
