#include "board/ProjectRow.h"

#include "ui/Icons.h"
#include "ui/Painters.h"
#include "ui/StatusStyle.h"
#include "ui/Theme.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>

namespace {
constexpr int kIcon = 12;
constexpr int kIconGap = 6;
constexpr int kFeeGap = 2;
constexpr int kChipPadX = 10;
constexpr int kChipPadY = 3;

struct Fonts
{
    QFont name = Theme::font(12, QFont::Bold);
    QFont text = Theme::font(12, QFont::Medium);
    QFont fee = Theme::font(12, QFont::Bold);
    QFont outsource = Theme::font(10);
    QFont due = Theme::font(10, QFont::DemiBold);
    QFont chip = Theme::font(10, QFont::Bold, 0.6);
    int textHeight = QFontMetrics(text).height();
    int feeHeight = QFontMetrics(fee).height();
    int outsourceHeight = QFontMetrics(outsource).height();
    int dueHeight = std::max(QFontMetrics(due).height(), 10);
    int chipHeight = QFontMetrics(chip).height() + 2 * kChipPadY;
};

const Fonts& fonts()
{
    static const Fonts f;
    return f;
}

void elided(QPainter& p, const QRectF& cell, const QFont& font, const QColor& color, const QString& text,
            Qt::Alignment align = Qt::AlignLeft)
{
    if (cell.width() <= 0 || text.isEmpty())
        return;
    p.setFont(font);
    p.setPen(color);
    const QFontMetrics fm(font);
    // Eliding measures letter spacing differently from the advance: only elide what truly overflows.
    const bool fits = fm.horizontalAdvance(text) <= cell.width();
    const QString shown = fits ? text : fm.elidedText(text, Qt::ElideRight, int(cell.width()));
    p.drawText(fits ? cell.adjusted(-1, 0, 1, 0) : cell, int(align | Qt::AlignVCenter) | Qt::TextSingleLine,
               shown);
}
} // namespace

ProjectRow::Cells ProjectRow::cells(const QRectF& row)
{
    const QRectF inner = row.adjusted(kPadX, 0, -kPadX, 0);
    const qreal fixed = kFeeWidth + kStatusWidth + kEditWidth + 5 * kSpacing;
    const qreal share = std::max<qreal>(0, (inner.width() - fixed) / 3);
    Cells c;
    qreal x = inner.left();
    const auto next = [&](qreal w) {
        const QRectF r(x, row.top(), w, row.height());
        x += w + kSpacing;
        return r;
    };
    c.name = next(share);
    c.client = next(share);
    c.category = next(share);
    c.fee = next(kFeeWidth);
    c.status = next(kStatusWidth);
    c.edit = next(kEditWidth);
    return c;
}

QString ProjectRow::Content::description() const
{
    QStringList parts{client, category, fee};
    if (!due.isEmpty())
        parts.prepend(due);
    if (!outsource.isEmpty())
        parts << outsource;
    parts << statusTitle;
    return parts.join(QStringLiteral(", "));
}

int ProjectRow::height(bool hasOutsource, bool hasDue)
{
    const Fonts& f = fonts();
    int content = std::max({f.textHeight, f.chipHeight, kEditButton, f.feeHeight});
    if (hasOutsource)
        content = std::max(content, f.feeHeight + kFeeGap + f.outsourceHeight);
    if (hasDue)
        content = std::max(content, f.textHeight + kFeeGap + f.dueHeight);
    return content + 2 * kPadY;
}

QRectF ProjectRow::editButtonRect(const QRectF& row)
{
    const QRectF cell = cells(row).edit;
    return QRectF(cell.center().x() - kEditButton / 2.0, row.center().y() - kEditButton / 2.0, kEditButton,
                  kEditButton);
}

void ProjectRow::paint(QPainter& p, const QRectF& row, const Content& content, bool hovered)
{
    const Fonts& f = fonts();
    p.save();
    p.fillRect(row, hovered ? Theme::cream() : QColor(Qt::white));
    const Cells c = cells(row);
    const qreal dpr = p.device() ? p.device()->devicePixelRatioF() : 1.0;

    if (content.due.isEmpty()) {
        elided(p, c.name, f.name, Theme::ink(), content.name);
    } else {
        const qreal stack = f.textHeight + kFeeGap + f.dueHeight;
        const qreal top = c.name.center().y() - stack / 2;
        elided(p, QRectF(c.name.left(), top, c.name.width(), f.textHeight), f.name, Theme::ink(),
               content.name);
        const QRectF due(c.name.left(), top + f.textHeight + kFeeGap, c.name.width(), f.dueHeight);
        const QColor tint = content.overdue ? Theme::rose() : Theme::secondary();
        if (due.width() > kIcon) {
            constexpr int kClock = 10;
            p.drawPixmap(QPointF(due.left(), due.center().y() - kClock / 2.0),
                         Icons::pixmap(QStringLiteral("clock"), tint, kClock, dpr, QFont::DemiBold));
            elided(p, due.adjusted(kClock + 4, 0, 0, 0), f.due, tint, content.due);
        }
    }

    if (c.client.width() > kIcon) {
        p.drawPixmap(QPointF(c.client.left(), c.client.center().y() - kIcon / 2.0),
                     Icons::pixmap(QStringLiteral("building.2"), Theme::secondary(), kIcon, dpr));
        elided(p, c.client.adjusted(kIcon + kIconGap, 0, 0, 0), f.text, Theme::secondary(), content.client);
    }
    elided(p, c.category, f.text, Theme::muted(), content.category);

    if (content.outsource.isEmpty()) {
        elided(p, c.fee, f.fee, Theme::ink(), content.fee, Qt::AlignRight);
    } else {
        const qreal stack = f.feeHeight + kFeeGap + f.outsourceHeight;
        const qreal top = c.fee.center().y() - stack / 2;
        elided(p, QRectF(c.fee.left(), top, c.fee.width(), f.feeHeight), f.fee, Theme::ink(), content.fee,
               Qt::AlignRight);
        elided(p, QRectF(c.fee.left(), top + f.feeHeight + kFeeGap, c.fee.width(), f.outsourceHeight),
               f.outsource, Theme::rose(), content.outsource, Qt::AlignRight);
    }

    const QFontMetrics chipMetrics(f.chip);
    const qreal chipWidth =
        std::min<qreal>(c.status.width(), chipMetrics.horizontalAdvance(content.statusTitle) + 2 * kChipPadX);
    const QRectF chip(c.status.center().x() - chipWidth / 2, c.status.center().y() - f.chipHeight / 2.0,
                      chipWidth, f.chipHeight);
    Painters::capsule(p, chip, StatusStyle::tint(content.status), Theme::border());
    elided(p, chip.adjusted(kChipPadX, 0, -kChipPadX, 0), f.chip, StatusStyle::text(content.status),
           content.statusTitle, Qt::AlignHCenter);

    const QRectF edit = editButtonRect(row);
    p.drawPixmap(QPointF(edit.center().x() - kIcon / 2.0, edit.center().y() - kIcon / 2.0),
                 Icons::pixmap(QStringLiteral("pencil"), Theme::muted(), kIcon, dpr));
    p.restore();
}
