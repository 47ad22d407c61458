#include "window/SampleTip.h"

#include "model/PreferenceSignals.h"
#include "model/Preferences.h"
#include "model/Store.h"
#include "ui/Animations.h"
#include "ui/Icons.h"
#include "ui/Painters.h"
#include "ui/Spring.h"
#include "ui/Theme.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {
// Room for the soft shadow around the card.
constexpr int kShadow = 6;
constexpr int kPadLeft = 10;
constexpr int kPadRight = 8;
constexpr int kPadY = 6;
constexpr int kGap = 8;
constexpr int kIcon = 12;
constexpr int kClose = 18;
const QColor kFill(0xFE, 0xF9, 0xF0);
const QColor kStroke(0xF5, 0xDE, 0xCA);
const QColor kBulb(0xD9, 0x77, 0x06);
} // namespace

SampleTip::SampleTip(Store& store, QWidget* parent) : QWidget(parent), m_store(store)
{
    setObjectName(QStringLiteral("sampleTip"));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setFont(Theme::font(11, QFont::Medium));
    m_animation = new SpringAnimation(0.2, 0.85, this);
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        m_shown = v.toReal();
        update();
    });
    connect(m_animation, &QAbstractAnimation::finished, this, [this] {
        if (isDismissed())
            hide();
    });
    connect(&m_store, &Store::languageChanged, this, [this] {
        setAccessibleName(text());
        updateGeometry();
        update();
    });
    connect(PreferenceSignals::instance(), &PreferenceSignals::changed, this, [this](const QString& key) {
        if (key == QLatin1String(Preferences::kDismissedSampleDataTip))
            follow();
    });
    setAccessibleName(text());
    setVisible(!isDismissed());
}

bool SampleTip::isDismissed()
{
    return Preferences::boolean(Preferences::kDismissedSampleDataTip, false);
}

void SampleTip::dismiss()
{
    Preferences::setBoolean(Preferences::kDismissedSampleDataTip, true); // followed through follow()
}

void SampleTip::follow()
{
    if (isDismissed()) {
        animateTo(0);
    } else {
        show();
        animateTo(1);
    }
}

void SampleTip::animateTo(qreal target)
{
    m_animation->stop();
    if (!Animations::enabled() || !isVisible()) {
        m_shown = target;
        setVisible(target > 0);
        update();
        return;
    }
    m_animation->setStartValue(m_shown);
    m_animation->setEndValue(target);
    m_animation->start();
}

QString SampleTip::text() const
{
    const QString en = QStringLiteral("You can erase sample data anytime from Settings / Delete Data.");
    const QString tr = QStringLiteral(
        "Örnek verileri tek tuşla silmek için Settings / Delete Data düğmesine basabilirsiniz.");
    return m_store.tr(en, tr);
}

int SampleTip::textWidth(const QString& text) const
{
    const QString fontKey = font().key();
    if (fontKey != m_widthsFont) {
        m_widths.clear();
        m_widthsFont = fontKey;
    }
    auto it = m_widths.constFind(text);
    if (it == m_widths.constEnd())
        it = m_widths.insert(text, QFontMetrics(font()).horizontalAdvance(text));
    return *it;
}

QSize SampleTip::sizeHint() const
{
    const QFontMetrics fm(font());
    const int w = kPadLeft + kIcon + kGap + textWidth(text()) + kGap + kClose + kPadRight;
    const int h = kPadY * 2 + qMax(kClose, fm.height());
    return {w + 2 * kShadow, h + 2 * kShadow};
}

QSize SampleTip::minimumSizeHint() const
{
    const int w = kPadLeft + kIcon + kGap + textWidth(QStringLiteral("You can…")) + kGap + kClose + kPadRight;
    return {w + 2 * kShadow, sizeHint().height()};
}

QRectF SampleTip::cardRect() const
{
    return QRectF(rect()).adjusted(kShadow, kShadow, -kShadow, -kShadow);
}

QRectF SampleTip::closeButtonRect() const
{
    const QRectF card = cardRect();
    return {card.right() - kPadRight - kClose, card.center().y() - kClose / 2.0, kClose, kClose};
}

void SampleTip::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF card = cardRect();
    // Scale from 0.95 about the centre while fading in or out.
    const qreal shown = qBound(0.0, m_shown, 1.0);
    p.setOpacity(shown);
    const qreal scale = 0.95 + 0.05 * shown;
    p.translate(card.center());
    p.scale(scale, scale);
    p.translate(-card.center());

    Painters::shadow(p, card, 14, QColor(0, 0, 0, qRound(255 * 0.07)), 6, QPointF(0, 2));
    Painters::roundedCard(p, card, 14, kFill, kStroke);

    const QPixmap bulb = Icons::pixmap(QStringLiteral("lightbulb.fill"), kBulb, kIcon, devicePixelRatioF());
    const qreal x = card.left() + kPadLeft;
    if (!bulb.isNull())
        p.drawPixmap(QPointF(x, card.center().y() - bulb.deviceIndependentSize().height() / 2), bulb);
    const QRectF close = closeButtonRect();
    p.setPen(Theme::ink());
    p.setFont(font());
    const QRectF textRect(x + kIcon + kGap, card.top(), close.left() - kGap - (x + kIcon + kGap),
                          card.height());
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
               fontMetrics().elidedText(text(), Qt::ElideRight, int(textRect.width())));

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, qRound(255 * 0.06)));
    p.drawEllipse(close);
    const QPixmap xmark =
        Icons::pixmap(QStringLiteral("xmark"), Theme::muted(), 9, devicePixelRatioF(), QFont::Bold);
    if (!xmark.isNull()) {
        const QSizeF s = xmark.deviceIndependentSize();
        p.drawPixmap(QPointF(close.center().x() - s.width() / 2, close.center().y() - s.height() / 2), xmark);
    }
}

void SampleTip::mousePressEvent(QMouseEvent* event)
{
    m_pressedClose = closeButtonRect().contains(event->position());
    event->accept();
}

void SampleTip::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !cardRect().contains(event->position()))
        return;
    if (m_pressedClose && closeButtonRect().contains(event->position())) {
        dismiss();
        return;
    }
    m_store.ui().setTab(MainTab::settings);
    dismiss();
}

void SampleTip::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_store.ui().setTab(MainTab::settings);
        dismiss();
        return;
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        dismiss();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}
