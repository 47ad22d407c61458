#include "stats/KPICard.h"

#include "i18n/L10n.h"
#include "model/Store.h"
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

// The section-label look shared with Eyebrow, drawn here so a long title is cut with an ellipsis.
QFont titleFont()
{
    return Theme::font(11, QFont::Bold, 0.6);
}

QFont valueFont()
{
    return Theme::font(22, QFont::ExtraBold);
}

QFont detailFont()
{
    return Theme::font(11, QFont::DemiBold);
}
} // namespace

KPICard::KPICard(Store& store, const QString& icon, QWidget* parent)
    : QWidget(parent), m_icon(icon), m_store(store)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(&store, &Store::languageChanged, this, qOverload<>(&QWidget::update));
}

void KPICard::setTexts(const QString& title, const QString& value, const QString& detail)
{
    if (title == m_title && value == m_value && detail == m_detail)
        return;
    m_title = title;
    m_value = value;
    m_detail = detail;
    // Read as one element that combines its texts.
    setAccessibleName(title + QStringLiteral(", ") + value + QStringLiteral(", ") + detail);
    update();
}

QString KPICard::shownTitle() const
{
    const QString upper = L10n::upper(m_store.language(), m_title);
    return QFontMetrics(titleFont()).elidedText(upper, Qt::ElideRight, titleRect().width());
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

QRect KPICard::titleRect() const
{
    return QRect(kPad, kPad, std::max(0, iconRect().left() - 8 - kPad), kIconFrame);
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

void KPICard::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    Painters::roundedCard(p, QRectF(rect()), kRadius, Theme::kpiFill(), Theme::kpiStroke(), 1);

    p.setPen(Qt::NoPen);
    p.setBrush(Theme::kpiStroke());
    p.drawEllipse(QRectF(iconRect()));
    const QPixmap symbol =
        Icons::pixmap(m_icon, Theme::emerald700(), kIconSize, devicePixelRatioF(), QFont::DemiBold);
    const QRectF iconArea(iconRect().center().x() - kIconSize / 2.0 + 0.5,
                          iconRect().center().y() - kIconSize / 2.0 + 0.5, kIconSize, kIconSize);
    p.drawPixmap(iconArea, symbol, QRectF(symbol.rect()));

    p.setFont(titleFont());
    p.setPen(Theme::emerald800());
    p.drawText(titleRect(), Qt::AlignLeft | Qt::AlignVCenter, shownTitle());
    p.setFont(valueFont());
    p.setPen(Theme::emerald950());
    p.drawText(valueRect(), Qt::AlignLeft | Qt::AlignVCenter, shownValue());
    p.setFont(detailFont());
    p.setPen(Theme::emerald800());
    p.drawText(detailRect(), Qt::AlignLeft | Qt::AlignVCenter,
               QFontMetrics(detailFont()).elidedText(m_detail, Qt::ElideRight, detailRect().width()));
}
