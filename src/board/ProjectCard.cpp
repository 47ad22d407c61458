#include "board/ProjectCard.h"

#include "ui/Icons.h"
#include "ui/Painters.h"
#include "ui/Theme.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QStringList>
#include <algorithm>

namespace {
struct Fonts
{
    QFont name = Theme::font(14, QFont::Bold, -0.2);
    QFont fee = Theme::font(12, QFont::ExtraBold);
    QFont row = Theme::font(11, QFont::Medium);
    QFont outsource = Theme::font(10, QFont::DemiBold);
    QFont net = Theme::font(10, QFont::Bold);
    QFont due = Theme::font(10, QFont::DemiBold);
    qreal titleAscent = 0;
    qreal titleHeight = 0;
    qreal outsourceHeight = 0;
    qreal dueHeight = 0;
    qreal bulletWidth = 0;

    Fonts()
    {
        const QFontMetricsF n(name);
        const QFontMetricsF f(fee);
        titleAscent = std::max(n.ascent(), f.ascent());
        titleHeight = titleAscent + std::max(n.descent(), f.descent());
        outsourceHeight = std::max<qreal>(QFontMetricsF(outsource).height(), 12);
        dueHeight = std::max<qreal>(QFontMetricsF(due).height(), 12);
        bulletWidth = QFontMetricsF(row).horizontalAdvance(QStringLiteral("•"));
    }
};

const Fonts& fonts()
{
    static const Fonts f;
    return f;
}

QColor withAlpha(QColor c, qreal alpha)
{
    c.setAlphaF(float(alpha));
    return c;
}

const QColor kDivider(0xF5, 0xF5, 0xF4);
constexpr int kClientRow = ProjectCard::kEditButton;
constexpr qreal kRowGap = 6;
constexpr qreal kIcon = 10;

// The two texts of the client row share what is left; the shorter keeps its full width.
std::pair<qreal, qreal> shareWidth(qreal a, qreal b, qreal room)
{
    room = std::max<qreal>(0, room);
    if (a + b <= room)
        return {a, b};
    const qreal half = room / 2;
    if (a <= half)
        return {a, room - a};
    if (b <= half)
        return {room - b, b};
    return {half, half};
}
} // namespace

QString ProjectCard::Content::description() const
{
    // The status first: a card says which column it is in.
    QStringList parts{statusTitle, fee, client, category};
    if (!due.isEmpty())
        parts << due;
    if (!outsource.isEmpty())
        parts << outsource << net;
    return parts.join(QStringLiteral(", "));
}

int ProjectCard::height(bool hasOutsource, bool hasDue)
{
    const Fonts& f = fonts();
    qreal h = 2 * kPadding + f.titleHeight + kSpacing + kClientRow;
    if (hasDue)
        h += kRowGap + f.dueHeight;
    if (hasOutsource)
        h += kSpacing + 1 + kSpacing + f.outsourceHeight;
    return int(std::ceil(h));
}

namespace {
// Measuring shapes the text, and with Inter that is the dearest part of painting a card:
// each text is measured once per paint and the measure handed on.
QRectF feeRectOfWidth(const QRectF& card, qreal width)
{
    return QRectF(card.right() - ProjectCard::kPadding - width, card.top() + ProjectCard::kPadding, width,
                  fonts().titleHeight);
}

QString nameBeside(const QRectF& card, const QString& name, const QRectF& fee)
{
    // The name, a flexible space and the fee, 8 apart.
    const qreal room = fee.left() - 16 - (card.left() + ProjectCard::kPadding);
    return QFontMetricsF(fonts().name).elidedText(name, Qt::ElideRight, std::max<qreal>(0, room));
}

// The text shortened to the room it was given, and its width; a text that fits is not measured again.
std::pair<QString, qreal> fitted(const QFontMetricsF& metrics, const QString& text, qreal fullWidth,
                                 qreal room)
{
    if (room >= fullWidth)
        return {text, fullWidth};
    const QString shown = metrics.elidedText(text, Qt::ElideRight, room + 0.5);
    return {shown, shown == text ? fullWidth : metrics.horizontalAdvance(shown)};
}
} // namespace

QRectF ProjectCard::feeRect(const QRectF& card, const QString& fee)
{
    return feeRectOfWidth(card, QFontMetricsF(fonts().fee).horizontalAdvance(fee));
}

QString ProjectCard::shownName(const QRectF& card, const QString& name, const QString& fee)
{
    return nameBeside(card, name, feeRect(card, fee));
}

QRectF ProjectCard::editButtonRect(const QRectF& card)
{
    const qreal top = card.top() + kPadding + fonts().titleHeight + kSpacing;
    return QRectF(card.right() - kPadding - kEditButton, top, kEditButton, kEditButton);
}

void ProjectCard::paint(QPainter& p, const QRectF& card, const Content& c, qreal hover)
{
    const Fonts& f = fonts();
    hover = std::clamp<qreal>(hover, 0, 1);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    // Resting and hovered shadows cross-fade while the hover animates.
    if (hover < 1)
        Painters::shadow(p, card, kRadius, withAlpha(Theme::ink(), 0.04 * (1 - hover)), 3, QPointF(0, 1));
    if (hover > 0)
        Painters::shadow(p, card, kRadius, withAlpha(Theme::ink(), 0.08 * hover), 8, QPointF(0, 4));
    Painters::roundedCard(p, card, kRadius, Qt::white, Theme::mix(Theme::cardBorder(), Theme::faint(), hover),
                          1);

    const qreal left = card.left() + kPadding;
    const qreal right = card.right() - kPadding;
    const qreal width = right - left;

    // Title row: the fee keeps its natural width, the name gives way.
    const qreal baseline = card.top() + kPadding + f.titleAscent;
    const QRectF fee = feeRect(card, c.fee);
    p.setFont(f.fee);
    p.setPen(Theme::ink());
    p.drawText(QPointF(fee.left(), baseline), c.fee);
    p.setFont(f.name);
    p.drawText(QPointF(left, baseline), nameBeside(card, c.name, fee));

    // Client row.
    const QRectF edit = editButtonRect(card);
    const qreal rowTop = edit.top();
    const qreal mid = rowTop + kClientRow / 2.0;
    const qreal dpr = p.device() ? p.device()->devicePixelRatioF() : 1;
    const QPixmap building = Icons::pixmap(QStringLiteral("building.2"), Theme::muted(), int(kIcon), dpr);
    p.drawPixmap(QRectF(left, mid - kIcon / 2, kIcon, kIcon), building, QRectF(building.rect()));
    const QFontMetricsF rowMetrics(f.row);
    const QString bullet = QStringLiteral("•");
    const qreal bulletWidth = f.bulletWidth;
    qreal x = left + kIcon + kRowGap;
    const qreal textRoom = edit.left() - kRowGap - 4 - kRowGap - x - 2 * kRowGap - bulletWidth;
    const qreal clientFull = rowMetrics.horizontalAdvance(c.client);
    const qreal categoryFull = rowMetrics.horizontalAdvance(c.category);
    const auto [clientWidth, categoryWidth] = shareWidth(clientFull, categoryFull, textRoom);
    const qreal textBaseline = mid - (rowMetrics.ascent() + rowMetrics.descent()) / 2 + rowMetrics.ascent();
    p.setFont(f.row);
    p.setPen(Theme::secondary());
    const auto [client, clientShownWidth] = fitted(rowMetrics, c.client, clientFull, clientWidth);
    p.drawText(QPointF(x, textBaseline), client);
    x += clientShownWidth + kRowGap;
    p.setPen(Theme::faint());
    p.drawText(QPointF(x, textBaseline), bullet);
    x += bulletWidth + kRowGap;
    p.setPen(Theme::muted());
    p.drawText(QPointF(x, textBaseline), fitted(rowMetrics, c.category, categoryFull, categoryWidth).first);

    if (hover > 0)
        Painters::roundedCard(p, edit, 7, withAlpha(Theme::segment(), hover));
    const QPixmap pencil =
        Icons::pixmap(QStringLiteral("pencil"), Theme::muted(), int(kIcon), dpr, QFont::DemiBold);
    p.drawPixmap(QRectF(edit.center().x() - kIcon / 2, edit.center().y() - kIcon / 2, kIcon, kIcon), pencil,
                 QRectF(pencil.rect()));

    qreal lineY = edit.bottom() + kSpacing;
    if (!c.due.isEmpty()) {
        const QRectF row(left, edit.bottom() + kRowGap, width, f.dueHeight);
        const QColor tint = c.overdue ? Theme::rose() : Theme::secondary();
        const QPixmap clock = Icons::pixmap(QStringLiteral("clock"), tint, int(kIcon), dpr, QFont::DemiBold);
        p.drawPixmap(QRectF(left, row.center().y() - kIcon / 2, kIcon, kIcon), clock, QRectF(clock.rect()));
        const qreal textLeft = left + kIcon + kRowGap;
        p.setFont(f.due);
        p.setPen(tint);
        p.drawText(QRectF(textLeft, row.top(), right - textLeft, row.height()),
                   Qt::AlignVCenter | Qt::AlignLeft,
                   QFontMetricsF(f.due).elidedText(c.due, Qt::ElideRight, right - textLeft));
        lineY = row.bottom() + kSpacing;
    }
    if (!c.outsource.isEmpty()) {
        p.fillRect(QRectF(left, lineY, width, 1), kDivider);
        const QRectF row(left, lineY + 1 + kSpacing, width, f.outsourceHeight);
        const QPixmap person = Icons::pixmap(QStringLiteral("person.badge.minus"), Theme::rose(), int(kIcon),
                                             dpr, QFont::DemiBold);
        p.drawPixmap(QRectF(left, row.center().y() - kIcon / 2, kIcon, kIcon), person, QRectF(person.rect()));
        const QFontMetricsF netMetrics(f.net);
        const qreal netWidth = netMetrics.horizontalAdvance(c.net);
        p.setFont(f.net);
        p.setPen(Theme::emerald700());
        p.drawText(QRectF(right - netWidth, row.top(), netWidth, row.height()),
                   Qt::AlignVCenter | Qt::AlignLeft, c.net);
        const QFontMetricsF outMetrics(f.outsource);
        const qreal outLeft = left + kIcon + 4;
        p.setFont(f.outsource);
        p.setPen(Theme::rose());
        p.drawText(
            QRectF(outLeft, row.top(), std::max<qreal>(0, right - netWidth - 8 - outLeft), row.height()),
            Qt::AlignVCenter | Qt::AlignLeft,
            outMetrics.elidedText(c.outsource, Qt::ElideRight, right - netWidth - 8 - outLeft));
    }
    p.restore();
}

QPixmap ProjectCard::dragPreview(const QString& name, qreal dpr)
{
    const QFont font = Theme::font(13, QFont::Bold);
    const QFontMetricsF fm(font);
    const QString text = fm.elidedText(name, Qt::ElideRight, 360);
    const QSizeF size(std::ceil(fm.horizontalAdvance(text)) + 28, std::ceil(fm.height()) + 20);
    QPixmap pixmap((size * dpr).toSize());
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // A hairline keeps the white box readable over the white cards it passes.
    Painters::roundedCard(p, QRectF(QPointF(0, 0), size), 12, Qt::white, Theme::cardBorder(), 1);
    p.setFont(font);
    p.setPen(Theme::ink());
    p.drawText(QRectF(14, 10, size.width() - 28, fm.height()), Qt::AlignVCenter | Qt::AlignLeft, text);
    return pixmap;
}
