#include "stats/ShowAllButton.h"

#include "ui/Icons.h"
#include "ui/Theme.h"

#include <QEvent>
#include <QPainter>

namespace {
constexpr int kGap = 4;
constexpr int kChevron = 9;
} // namespace

ShowAllButton::ShowAllButton(QWidget* parent) : QAbstractButton(parent)
{
    setFont(Theme::font(12, QFont::DemiBold));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize ShowAllButton::sizeHint() const
{
    const QFontMetrics fm(font());
    return QSize(fm.horizontalAdvance(text()) + kGap + kChevron, std::max(fm.height(), kChevron));
}

void ShowAllButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setOpacity(drawnOpacity());
    const QFontMetrics fm(font());
    const int textWidth = fm.horizontalAdvance(text());
    p.setFont(font());
    p.setPen(Theme::brand());
    p.drawText(QRect(0, 0, textWidth, height()), Qt::AlignLeft | Qt::AlignVCenter, text());
    const QPixmap chevron = Icons::pixmap(QStringLiteral("chevron.right"), Theme::brand(), kChevron,
                                          devicePixelRatioF(), QFont::Bold);
    p.drawPixmap(QRectF(textWidth + kGap, (height() - kChevron) / 2.0, kChevron, kChevron), chevron,
                 QRectF(chevron.rect()));
    if (hasFocus()) {
        p.setOpacity(1);
        QPen pen(Theme::brand(), 1, Qt::DotLine);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    }
}
