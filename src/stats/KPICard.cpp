#include "stats/KPICard.h"

#include "ui/Eyebrow.h"
#include "ui/Icons.h"
#include "ui/Painters.h"
#include "ui/Theme.h"

#include <QPainter>

namespace {
constexpr int kPad = 20;
constexpr int kIconFrame = 34;
constexpr int kIconSize = 14;
constexpr int kHeaderGap = 16;
constexpr int kValueGap = 4;
constexpr int kRadius = 16;

QFont valueFont()
{
    return Theme::font(22, QFont::ExtraBold);
}

QFont detailFont()
{
    return Theme::font(11, QFont::DemiBold);
}
} // namespace

KPICard::KPICard(Store* store, const QString& icon, QWidget* parent)
    : QWidget(parent), m_icon(icon), m_eyebrow(new Eyebrow(QString(), Theme::emerald800(), store, this))
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // The card is read as one element; its title label is part of it.
    m_eyebrow->setAccessibleName(QString());
    m_eyebrow->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void KPICard::setTexts(const QString& title, const QString& value, const QString& detail)
{
    if (title == m_title && value == m_value && detail == m_detail)
        return;
    m_title = title;
    m_value = value;
    m_detail = detail;
    m_eyebrow->setText(title);
    setAccessibleName(title + QStringLiteral(", ") + value + QStringLiteral(", ") + detail);
    placeTitle();
    update();
}

QString KPICard::shownValue() const
{
    return QFontMetrics(valueFont()).elidedText(m_value, Qt::ElideRight, valueRect().width());
}

QSize KPICard::sizeHint() const
{
    const int h = kPad + kIconFrame + kHeaderGap + QFontMetrics(valueFont()).height() + kValueGap +
                  QFontMetrics(detailFont()).height() + kPad;
    return QSize(220, h);
}

QSize KPICard::minimumSizeHint() const
{
    return QSize(2 * kPad + kIconFrame + 40, sizeHint().height());
}

QRect KPICard::iconRect() const
{
    return QRect(width() - kPad - kIconFrame, kPad, kIconFrame, kIconFrame);
}

QRect KPICard::valueRect() const
{
    return QRect(kPad, kPad + kIconFrame + kHeaderGap, std::max(0, width() - 2 * kPad),
                 QFontMetrics(valueFont()).height());
}

QRect KPICard::detailRect() const
{
    const QRect v = valueRect();
    return QRect(kPad, v.bottom() + 1 + kValueGap, v.width(), QFontMetrics(detailFont()).height());
}

void KPICard::placeTitle()
{
    const int available = std::max(0, iconRect().left() - 8 - kPad);
    const int h = m_eyebrow->sizeHint().height();
    m_eyebrow->setGeometry(kPad, kPad + (kIconFrame - h) / 2, available, h);
}

void KPICard::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeTitle();
}

void KPICard::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    Painters::roundedCard(p, QRectF(rect()), kRadius, Theme::kpiFill(), Theme::kpiStroke(), 1);

    QColor disc = Theme::hex(QStringLiteral("#059669"));
    disc.setAlphaF(0.2);
    p.setPen(Qt::NoPen);
    p.setBrush(disc);
    p.drawEllipse(QRectF(iconRect()));
    const QPixmap symbol =
        Icons::pixmap(m_icon, Theme::emerald700(), kIconSize, devicePixelRatioF(), QFont::DemiBold);
    const QRectF iconArea(iconRect().center().x() - kIconSize / 2.0 + 0.5,
                          iconRect().center().y() - kIconSize / 2.0 + 0.5, kIconSize, kIconSize);
    p.drawPixmap(iconArea, symbol, QRectF(symbol.rect()));

    p.setFont(valueFont());
    p.setPen(Theme::emerald950());
    p.drawText(valueRect(), Qt::AlignLeft | Qt::AlignVCenter, shownValue());
    p.setFont(detailFont());
    p.setPen(Theme::emerald800());
    p.drawText(detailRect(), Qt::AlignLeft | Qt::AlignVCenter,
               QFontMetrics(detailFont()).elidedText(m_detail, Qt::ElideRight, detailRect().width()));
}
