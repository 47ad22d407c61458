#include "ui/Icons.h"

#include <QFile>
#include <QHash>
#include <QIconEngine>
#include <QMap>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>
#include <tuple>

#include "ui/Resources.h"

namespace Icons {
namespace {
struct Entry
{
    const char* symbol;
    const char* file;
};

// Symbol names used by the views -> our own monochrome drawings (24 x 24, black strokes).
constexpr Entry kTable[] = {
    {"arrow.left", ":/icons/arrow.left.svg"},
    {"arrow.right", ":/icons/arrow.right.svg"},
    {"arrow.up.and.down.and.arrow.left.and.right", ":/icons/arrow.up.and.down.and.arrow.left.and.right.svg"},
    {"banknote", ":/icons/banknote.svg"},
    {"building.2", ":/icons/building.2.svg"},
    {"building.columns", ":/icons/building.columns.svg"},
    {"calendar", ":/icons/calendar.svg"},
    {"calendar.badge.checkmark", ":/icons/calendar.badge.checkmark.svg"},
    {"checkmark", ":/icons/checkmark.svg"},
    {"chevron.down", ":/icons/chevron.down.svg"},
    {"chevron.left", ":/icons/chevron.left.svg"},
    {"chevron.right", ":/icons/chevron.right.svg"},
    {"chevron.up", ":/icons/chevron.up.svg"},
    {"chevron.up.chevron.down", ":/icons/chevron.up.chevron.down.svg"},
    {"clock", ":/icons/clock.svg"},
    {"crown", ":/icons/crown.svg"},
    {"dock.rectangle", ":/icons/dock.rectangle.svg"},
    {"dollarsign.circle", ":/icons/dollarsign.circle.svg"},
    {"ellipsis", ":/icons/ellipsis.svg"},
    {"folder", ":/icons/folder.svg"},
    {"globe", ":/icons/globe.svg"},
    {"lightbulb.fill", ":/icons/lightbulb.fill.svg"},
    {"line.3.horizontal", ":/icons/line.3.horizontal.svg"},
    {"list.bullet", ":/icons/list.bullet.svg"},
    {"list.bullet.rectangle", ":/icons/list.bullet.rectangle.svg"},
    {"macwindow", ":/icons/macwindow.svg"},
    {"magnifyingglass", ":/icons/magnifyingglass.svg"},
    {"menubar.rectangle", ":/icons/menubar.rectangle.svg"},
    {"pencil", ":/icons/pencil.svg"},
    {"person", ":/icons/person.svg"},
    {"person.badge.minus", ":/icons/person.badge.minus.svg"},
    {"plus", ":/icons/plus.svg"},
    {"power", ":/icons/power.svg"},
    {"rectangle.split.3x1", ":/icons/rectangle.split.3x1.svg"},
    {"square.grid.2x2", ":/icons/square.grid.2x2.svg"},
    {"tag", ":/icons/tag.svg"},
    {"trash", ":/icons/trash.svg"},
    {"trophy", ":/icons/trophy.svg"},
    {"xmark", ":/icons/xmark.svg"},
};

const QHash<QString, QString>& table()
{
    static const QHash<QString, QString> map = [] {
        UiResources::ensure();
        QHash<QString, QString> m;
        for (const Entry& e : kTable)
            m.insert(QString::fromLatin1(e.symbol), QString::fromLatin1(e.file));
        return m;
    }();
    return map;
}

// Heavier weights draw thicker strokes, as a symbol font would.
QByteArray strokeWidth(QFont::Weight weight)
{
    if (weight <= QFont::Light)
        return "1.6";
    if (weight < QFont::Medium)
        return "2";
    if (weight < QFont::DemiBold)
        return "2.2";
    if (weight < QFont::Bold)
        return "2.5";
    if (weight < QFont::ExtraBold)
        return "2.8";
    return "3.1";
}

QByteArray svgSource(const QString& symbol)
{
    static QHash<QString, QByteArray> sources;
    auto it = sources.find(symbol);
    if (it == sources.end()) {
        QFile file(table().value(symbol));
        QByteArray data;
        if (file.open(QIODevice::ReadOnly))
            data = file.readAll();
        it = sources.insert(symbol, data);
    }
    return *it;
}

// The drawing filling a transparent square of `side` device pixels.
QImage rendered(QSvgRenderer& renderer, int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    renderer.render(&p, QRectF(0, 0, side, side));
    return image;
}
} // namespace

bool has(const QString& symbol)
{
    return table().contains(symbol);
}

QStringList symbols()
{
    QStringList list;
    for (const Entry& e : kTable)
        list << QString::fromLatin1(e.symbol);
    return list;
}

QPixmap pixmap(const QString& symbol, const QColor& tint, int pixelSize, qreal dpr, QFont::Weight weight)
{
    if (!has(symbol) || pixelSize <= 0 || !(dpr > 0))
        return {};
    const QString key = QStringLiteral("tb-icon:%1:%2:%3:%4:%5")
                            .arg(symbol, QString::number(tint.rgba(), 16))
                            .arg(pixelSize)
                            .arg(dpr)
                            .arg(int(weight));
    QPixmap cached;
    if (QPixmapCache::find(key, &cached))
        return cached;

    QByteArray svg = svgSource(symbol);
    if (svg.isEmpty())
        return {};
    svg.replace("stroke-width=\"2\"", "stroke-width=\"" + strokeWidth(weight) + "\"");
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        return {};

    const int device = qMax(1, qRound(pixelSize * dpr));
    QImage image = rendered(renderer, device);
    {
        // Keep the drawing's coverage, take the colour from the tint.
        QPainter p(&image);
        p.setCompositionMode(QPainter::CompositionMode_SourceIn);
        p.fillRect(image.rect(), tint);
    }
    QPixmap result = QPixmap::fromImage(image);
    result.setDevicePixelRatio(dpr);
    QPixmapCache::insert(key, result);
    return result;
}

namespace {
class OnDemandEngine final : public QIconEngine
{
public:
    OnDemandEngine(Draw draw, QList<QSize> sizes) : m_draw(std::move(draw)), m_sizes(std::move(sizes)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1;
        painter->drawPixmap(rect, scaledPixmap(rect.size() * dpr, mode, state, dpr));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1);
    }
    // `size` is in device pixels, as QIcon asks.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal scale) override
    {
        const int side = std::min(size.width(), size.height());
        if (side <= 0)
            return {};
        // Kept with its pixel ratio set, so that handing it out copies no pixels.
        const Key key{side, int(mode), qRound(scale * 100)};
        auto it = m_drawn.find(key);
        if (it == m_drawn.end()) {
            QPixmap pm = m_draw(side, mode);
            pm.setDevicePixelRatio(scale);
            it = m_drawn.insert(key, pm);
        }
        return *it;
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return m_sizes; }
    QIconEngine* clone() const override { return new OnDemandEngine(m_draw, m_sizes); }
    QString key() const override { return QStringLiteral("TallybrookOnDemand"); }

private:
    Draw m_draw;
    QList<QSize> m_sizes;
    using Key = std::tuple<int, int, int>; // side, mode, pixel ratio in hundredths
    QMap<Key, QPixmap> m_drawn;
};
} // namespace

QPixmap drawing(const QString& svgFile, int side)
{
    QSvgRenderer renderer(svgFile);
    if (!renderer.isValid() || side <= 0)
        return {};
    return QPixmap::fromImage(rendered(renderer, side));
}

QIcon onDemand(Draw draw, const QList<QSize>& sizes)
{
    return QIcon(new OnDemandEngine(std::move(draw), sizes));
}

QIcon icon(const QString& symbol, const QColor& tint, int pixelSize, QFont::Weight weight)
{
    if (!has(symbol))
        return {};
    QIcon result;
    for (qreal dpr : {1.0, 2.0})
        result.addPixmap(pixmap(symbol, tint, pixelSize, dpr, weight));
    return result;
}
} // namespace Icons
