#include "board/SummaryParts.h"

#include "ui/Icons.h"
#include "ui/KeyboardFocus.h"
#include "ui/Theme.h"

#include <QPainter>

namespace {
constexpr int kPencil = 11;
constexpr int kPencilGap = 6;
constexpr int kClock = 11;
constexpr int kClockGap = 6;
} // namespace

SummarySeparator::SummarySeparator(QWidget* parent) : QWidget(parent)
{
    setFixedWidth(1);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
}

void SummarySeparator::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), Theme::divider());
}

OverdueButton::OverdueButton(QWidget* parent) : QAbstractButton(parent)
{
    setObjectName(QStringLiteral("overdueButton"));
    setAttribute(Qt::WA_Hover);
    KeyboardFocus::track(this);
    setFont(Theme::font(11, QFont::Bold));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QSize OverdueButton::sizeHint() const
{
    const QFontMetrics fm(font());
    return QSize(kClock + kClockGap + fm.horizontalAdvance(text()) + 4, std::max(fm.height(), kClock) + 2);
}

QSize OverdueButton::minimumSizeHint() const
{
    // A narrow section elides the text rather than widening the panel.
    return QSize(kClock + kClockGap + 40, sizeHint().height());
}

void OverdueButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setOpacity(isDown() ? 0.7 : 1);
    const QPixmap clock =
        Icons::pixmap(QStringLiteral("clock"), Theme::rose(), kClock, devicePixelRatioF(), QFont::DemiBold);
    p.drawPixmap(QRectF(2, (height() - kClock) / 2.0, kClock, kClock), clock, QRectF(clock.rect()));
    QFont f = font();
    f.setUnderline(underMouse() || hasFocus());
    p.setFont(f);
    p.setPen(Theme::rose());
    const QRect text = rect().adjusted(2 + kClock + kClockGap, 0, -2, 0);
    p.drawText(text, Qt::AlignVCenter | Qt::AlignLeft,
               QFontMetrics(f).elidedText(this->text(), Qt::ElideRight, text.width()));
    p.setOpacity(1);
    KeyboardFocus::paintRing(p, this, QRectF(rect()), 4);
}

TargetButton::TargetButton(QWidget* parent) : QAbstractButton(parent)
{
    setObjectName(QStringLiteral("targetButton"));
    setFont(Theme::font(24, QFont::ExtraBold));
    setCursor(Qt::PointingHandCursor);
    // Keyboard users reach it with Tab; a click does not leave a focus ring behind.
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize TargetButton::sizeHint() const
{
    const QFontMetrics fm(font());
    return QSize(fm.horizontalAdvance(text()) + kPencilGap + kPencil + 1, fm.height());
}

void TargetButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics fm(font());
    p.setOpacity(isDown() ? 0.7 : 1);
    p.setFont(font());
    p.setPen(Theme::ink());
    const int textWidth = fm.horizontalAdvance(text());
    p.drawText(QPoint(0, fm.ascent()), text());
    const QPixmap pencil = Icons::pixmap(QStringLiteral("pencil"), Theme::muted(), kPencil,
                                         devicePixelRatioF(), QFont::DemiBold);
    p.drawPixmap(QRectF(textWidth + kPencilGap, (height() - kPencil) / 2.0, kPencil, kPencil), pencil,
                 QRectF(pencil.rect()));
    if (hasFocus()) {
        p.setOpacity(1);
        p.setPen(QPen(Theme::brand(), 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(rect()).adjusted(0.75, 0.75, -0.75, -0.75), 6, 6);
    }
}
