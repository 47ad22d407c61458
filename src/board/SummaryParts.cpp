#include "board/SummaryParts.h"

#include "ui/Icons.h"
#include "ui/Theme.h"

#include <QPainter>

namespace {
constexpr int kPencil = 11;
constexpr int kPencilGap = 6;
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
