#include "stats/CategoryRowPainter.h"

#include "ui/Painters.h"
#include "ui/Theme.h"

#include <QFontMetricsF>
#include <QPainter>

namespace CategoryRowPainter {

namespace {

constexpr qreal kNameGap = 8; // least room between the name and the figures

qreal lineHeight(const Look& look)
{
    return std::max({QFontMetricsF(look.name).height(), QFontMetricsF(look.percent).height(),
                     QFontMetricsF(look.amount).height()});
}

qreal baseline(const Look& look, const QRectF& line)
{
    const qreal ascent = std::max({QFontMetricsF(look.name).ascent(), QFontMetricsF(look.percent).ascent(),
                                   QFontMetricsF(look.amount).ascent()});
    return line.top() + ascent;
}

} // namespace

// Made once: rows are measured and painted with them many times a second while scrolling.
const Look& cardLook()
{
    static const Look look{Theme::font(12, QFont::DemiBold), Theme::font(12, QFont::Bold),
                           Theme::font(11, QFont::Medium), 6};
    return look;
}

const Look& sheetLook()
{
    static const Look look{Theme::font(12, QFont::Medium), Theme::font(12, QFont::Bold), Theme::font(12), 5};
    return look;
}

int height(const Look& look)
{
    return int(std::ceil(lineHeight(look))) + look.gap + kTrackHeight;
}

void paint(QPainter& p, const QRectF& rect, const Look& look, const Texts& texts, double share)
{
    p.save();
    const QRectF line(rect.left(), rect.top(), rect.width(), lineHeight(look));
    const qreal y = baseline(look, line);
    const QString detail =
        texts.detail.isEmpty() ? QString() : QStringLiteral(" (") + texts.detail + QStringLiteral(")");
    const qreal detailWidth = QFontMetricsF(look.amount).horizontalAdvance(detail);
    const qreal figureWidth = QFontMetricsF(look.percent).horizontalAdvance(texts.figure);
    const qreal figuresLeft = line.right() - detailWidth - figureWidth;

    p.setFont(look.percent);
    p.setPen(Theme::secondary());
    p.drawText(QPointF(figuresLeft, y), texts.figure);
    p.setFont(look.amount);
    p.setPen(Theme::muted());
    p.drawText(QPointF(figuresLeft + figureWidth, y), detail);

    const qreal nameWidth = std::max<qreal>(0, figuresLeft - kNameGap - line.left());
    p.setFont(look.name);
    p.setPen(Theme::ink());
    p.drawText(QPointF(line.left(), y),
               QFontMetricsF(look.name).elidedText(texts.name, Qt::ElideRight, nameWidth));

    const QRectF track(rect.left(), line.bottom() + look.gap, rect.width(), kTrackHeight);
    Painters::progressTrack(p, track, share);
    p.restore();
}

void paintPlaceholder(QPainter& p, const QRectF& rect, const QString& name, const QString& figures)
{
    p.save();
    const Look& look = cardLook();
    const QFont font = Theme::font(12, QFont::Medium);
    const QFontMetricsF fm(font);
    const QRectF line(rect.left(), rect.top(), rect.width(), lineHeight(look));
    const qreal y = baseline(look, line);
    QColor faded = Theme::muted();
    faded.setAlphaF(0.4);
    p.setFont(font);
    p.setPen(faded);
    const qreal figuresWidth = fm.horizontalAdvance(figures);
    p.drawText(QPointF(line.right() - figuresWidth, y), figures);
    const qreal nameWidth = std::max<qreal>(0, line.width() - figuresWidth - kNameGap);
    p.drawText(QPointF(line.left(), y), fm.elidedText(name, Qt::ElideRight, nameWidth));
    const QRectF track(rect.left(), line.bottom() + look.gap, rect.width(), kTrackHeight);
    Painters::capsule(p, track, Theme::hex(QStringLiteral("#E9E5DA")));
    p.restore();
}

} // namespace CategoryRowPainter
