#include "window/ToastView.h"

#include "model/Store.h"
#include "model/Text.h"
#include "ui/AccessibleKit.h"
#include "ui/Animations.h"
#include "ui/Icons.h"
#include "ui/Painters.h"
#include "ui/TextLabel.h"
#include "ui/Theme.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QVariantAnimation>
#include <QWheelEvent>

namespace {
// Room for the shadow (blur 12, 6 down) around the capsule.
const QMargins kShadow(14, 8, 14, 20);
constexpr int kInset = 24;
constexpr int kEnterMs = 260;
const QColor kGreen(0x34, 0xD3, 0x99);
} // namespace

ToastView::ToastView(Store& store, QWidget* parent) : QWidget(parent), m_store(store)
{
    // An alert: a screen reader speaks its name when it shows.
    AccessibleKit::install<ToastView, AccessibleKit::WithRole<QAccessible::AlertMessage>>();
    setObjectName(QStringLiteral("toast"));
    setAccessibleName(QString());
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(kShadow.left() + 18, kShadow.top() + 10, kShadow.right() + 18,
                            kShadow.bottom() + 10);
    row->setSpacing(10);
    m_check = new QLabel(this);
    m_check->setPixmap(
        Icons::pixmap(QStringLiteral("checkmark"), kGreen, 11, devicePixelRatioF(), QFont::Bold));
    m_check->setAccessibleName(QString());
    // Plain text: messages carry project names, which must never be read as markup.
    m_message = TextLabel::make(Theme::font(12, QFont::DemiBold), Qt::white, this);
    m_message->setObjectName(QStringLiteral("toastMessage"));
    m_undo = new QPushButton(this);
    m_undo->setObjectName(QStringLiteral("toastUndo"));
    m_undo->setFlat(true);
    m_undo->setCursor(Qt::PointingHandCursor);
    // A click must leave the keyboard focus where the user's work is: a focused button that
    // hides with its toast would hand the focus on to the next field of the window.
    m_undo->setFocusPolicy(Qt::NoFocus);
    m_undo->setFont(Theme::font(12, QFont::Bold));
    m_undo->setStyleSheet(
        QStringLiteral("QPushButton { color: %1; background: transparent; border: none; padding: 0; }")
            .arg(kGreen.name()));
    row->addWidget(m_check);
    row->addWidget(m_message);
    row->addWidget(m_undo);

    m_opacity = new QGraphicsOpacityEffect(this);
    setGraphicsEffect(m_opacity);
    m_animation = new QVariantAnimation(this);
    m_animation->setDuration(kEnterMs);
    m_animation->setEasingCurve(QEasingCurve::OutCubic);
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        m_progress = v.toReal();
        m_opacity->setOpacity(m_progress);
        reposition();
    });
    connect(m_animation, &QAbstractAnimation::finished, this, [this] {
        if (m_id.isNull())
            hide();
    });

    parent->installEventFilter(this);
    // Undo from the keyboard while the toast offers it. A text field with the focus keeps the key
    // for its own undo: it claims it before any shortcut sees it.
    m_undoKey = new QShortcut(QKeySequence::Undo, parent, nullptr, nullptr, Qt::WindowShortcut);
    m_undoKey->setEnabled(false);
    connect(m_undoKey, &QShortcut::activated, &m_store, &Store::undo);
    connect(m_undo, &QPushButton::clicked, this, [this] {
        const auto& toast = m_store.ui().toast();
        if (toast && toast->offersMerge)
            m_store.mergeConflictCopies();
        else
            m_store.undo();
    });
    connect(&m_store.ui(), &UiState::toastChanged, this, &ToastView::toastChanged);
    connect(&m_store.ui(), &UiState::announce, this, &ToastView::announce);
    connect(&m_store, &Store::languageChanged, this, &ToastView::retranslate);
    retranslate();
    hide();
    toastChanged();
}

QString ToastView::message() const
{
    return m_message->text();
}

void ToastView::retranslate()
{
    const auto& toast = m_store.ui().toast();
    m_undo->setText(toast && toast->offersMerge
                        ? m_store.tr(QStringLiteral("Merge"), QStringLiteral("Birleştir"))
                        : m_store.tr(QStringLiteral("Undo"), QStringLiteral("Geri Al")));
    if (isVisible())
        reposition();
}

void ToastView::toastChanged()
{
    const auto& toast = m_store.ui().toast();
    if (!toast) {
        m_undoKey->setEnabled(false);
        if (m_id.isNull())
            return;
        m_id = QUuid();
        animate(false);
        return;
    }
    if (toast->id == m_id)
        return;
    m_id = toast->id;
    m_message->setText(Text::shown(toast->message));
    retranslate();
    m_undo->setVisible(toast->canUndo || toast->offersMerge);
    m_undoKey->setEnabled(toast->canUndo);
    setAccessibleName(Text::shown(toast->message));
    // A new toast always starts from the bottom edge, even while the last one was leaving.
    m_progress = 0;
    show();
    raise();
    animate(true);
    // Each new toast is a new alert, also one that replaces another still showing.
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

void ToastView::announce(const QString& text)
{
    setAccessibleDescription(Text::shown(text));
    QAccessibleEvent event(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&event);
}

void ToastView::animate(bool in)
{
    m_animation->stop();
    const qreal target = in ? 1 : 0;
    if (!Animations::enabled()) {
        m_progress = target;
        m_opacity->setOpacity(target);
        reposition();
        setVisible(in);
        return;
    }
    m_animation->setStartValue(m_progress);
    m_animation->setEndValue(target);
    m_animation->start();
}

void ToastView::reposition()
{
    QWidget* host = parentWidget();
    if (!host)
        return;
    adjustSize();
    const QSize s = sizeHint();
    const int travel = s.height() - kShadow.bottom();
    const int x = host->width() - kInset - (s.width() - kShadow.right());
    const int y =
        host->height() - kInset - (s.height() - kShadow.bottom()) + qRound((1 - m_progress) * travel);
    setGeometry(x, y, s.width(), s.height());
}

void ToastView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF capsule = QRectF(rect()).marginsRemoved(kShadow);
    Painters::shadow(p, capsule, capsule.height() / 2, QColor(0, 0, 0, qRound(255 * 0.2)), 12, QPointF(0, 6));
    Painters::capsule(p, capsule, Theme::ink());
}

bool ToastView::event(QEvent* event)
{
    // The toast floats over controls (Delete Data sits in its corner on the settings page): what
    // is not one of its own buttons passes the pointer on to what lies beneath.
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        passOn(static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::Wheel:
        passOn(static_cast<QWheelEvent*>(event));
        return true;
    default:
        return QWidget::event(event);
    }
}

QWidget* ToastView::widgetBeneath(const QPointF& globalPos)
{
    QWidget* top = window();
    setAttribute(Qt::WA_TransparentForMouseEvents, true);
    QWidget* beneath = top->childAt(top->mapFromGlobal(globalPos.toPoint()));
    setAttribute(Qt::WA_TransparentForMouseEvents, false);
    return beneath ? beneath : top;
}

void ToastView::passOn(QMouseEvent* event)
{
    // A press decides where the rest of the gesture goes, as the pointer grab would.
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
        m_pressedBeneath = widgetBeneath(event->globalPosition());
    const bool inGesture =
        m_pressedBeneath && (type != QEvent::MouseMove || event->buttons() != Qt::NoButton);
    QWidget* target = inGesture ? m_pressedBeneath.data() : widgetBeneath(event->globalPosition());
    if (type == QEvent::MouseButtonRelease && event->buttons() == Qt::NoButton)
        m_pressedBeneath = nullptr;
    if (!target)
        return;
    QMouseEvent copy(event->type(), target->mapFromGlobal(event->globalPosition()), event->scenePosition(),
                     event->globalPosition(), event->button(), event->buttons(), event->modifiers(),
                     event->pointingDevice());
    QCoreApplication::sendEvent(target, &copy);
}

void ToastView::passOn(QWheelEvent* event)
{
    QWidget* target = widgetBeneath(event->globalPosition());
    QWheelEvent copy(target->mapFromGlobal(event->globalPosition()), event->globalPosition(),
                     event->pixelDelta(), event->angleDelta(), event->buttons(), event->modifiers(),
                     event->phase(), event->inverted(), event->source(), event->pointingDevice());
    QCoreApplication::sendEvent(target, &copy);
}

bool ToastView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize && isVisible())
        reposition();
    return QWidget::eventFilter(watched, event);
}
