#include "ui/Theme.h"

#include "ui/Icons.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPalette>
#include <QProxyStyle>
#include <QStyleFactory>
#include <algorithm>
#include <cmath>

namespace Theme {
namespace {
QColor withOpacity(const QString& text, qreal opacity)
{
    QColor c = hex(text);
    c.setAlphaF(float(opacity));
    return c;
}
} // namespace

// Function-local statics: each colour is made on first use and then only copied.
#define TB_THEME_COLOR(name, value)                                                                          \
    QColor name()                                                                                            \
    {                                                                                                        \
        static const QColor c = value;                                                                       \
        return c;                                                                                            \
    }

TB_THEME_COLOR(cream, hex(QStringLiteral("#FAF8F5")))
TB_THEME_COLOR(segment, hex(QStringLiteral("#F4F0E8")))
TB_THEME_COLOR(border, hex(QStringLiteral("#E8E2D5")))
TB_THEME_COLOR(outline, hex(QStringLiteral("#E5E0D5")))
TB_THEME_COLOR(cardBorder, hex(QStringLiteral("#EBE7DF")))
TB_THEME_COLOR(divider, hex(QStringLiteral("#EAE5DA")))
TB_THEME_COLOR(track, hex(QStringLiteral("#EAE5DA")))
TB_THEME_COLOR(ink, hex(QStringLiteral("#141519")))
TB_THEME_COLOR(brand, hex(QStringLiteral("#009764")))
TB_THEME_COLOR(muted, hex(QStringLiteral("#6E6A61")))
TB_THEME_COLOR(secondary, hex(QStringLiteral("#57534E")))
TB_THEME_COLOR(faint, hex(QStringLiteral("#A8A29E")))
TB_THEME_COLOR(rose, hex(QStringLiteral("#E11D48")))
TB_THEME_COLOR(emerald700, hex(QStringLiteral("#047857")))
TB_THEME_COLOR(emerald800, hex(QStringLiteral("#065F46")))
TB_THEME_COLOR(emerald950, hex(QStringLiteral("#022C22")))
TB_THEME_COLOR(kpiFill, withOpacity(QStringLiteral("#059669"), 0.1))
TB_THEME_COLOR(kpiStroke, withOpacity(QStringLiteral("#059669"), 0.2))
TB_THEME_COLOR(bar, hex(QStringLiteral("#E8E2D5")))
TB_THEME_COLOR(barHover, hex(QStringLiteral("#57534E")))

#undef TB_THEME_COLOR

QColor statusDot(Status status)
{
    static const QColor paid = hex(QStringLiteral("#10B981"));
    static const QColor pending = hex(QStringLiteral("#0EA5E9"));
    static const QColor ongoing = hex(QStringLiteral("#F59E0B"));
    switch (status) {
    case Status::paid:
        return paid;
    case Status::pending:
        return pending;
    case Status::ongoing:
        break;
    }
    return ongoing;
}

QColor hex(const QString& text)
{
    return fromRgb(HexColor::fromHex(text));
}

QColor fromRgb(const Rgb& rgb)
{
    auto channel = [](double v) { return float(std::isfinite(v) ? std::clamp(v, 0.0, 1.0) : 0.0); };
    return QColor::fromRgbF(channel(rgb.red), channel(rgb.green), channel(rgb.blue));
}

Rgb toRgb(const QColor& color)
{
    const QColor c = color.toRgb();
    return Rgb{c.redF(), c.greenF(), c.blueF()};
}

bool isDark(const QColor& color)
{
    if (!color.isValid())
        return false;
    return isDark(toRgb(color));
}

bool isDark(const Rgb& color)
{
    auto linear = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    if (!std::isfinite(color.red) || !std::isfinite(color.green) || !std::isfinite(color.blue))
        return false;
    const double luminance =
        0.2126 * linear(color.red) + 0.7152 * linear(color.green) + 0.0722 * linear(color.blue);
    const double e = luminance + 0.05;
    // Contrast against white below contrast against black: light text wins.
    return e / 0.0575 < 1.05 / e;
}

QColor mix(const QColor& a, const QColor& b, qreal t)
{
    t = std::clamp<qreal>(t, 0, 1);
    return QColor::fromRgbF(
        float(a.redF() + (b.redF() - a.redF()) * t), float(a.greenF() + (b.greenF() - a.greenF()) * t),
        float(a.blueF() + (b.blueF() - a.blueF()) * t), float(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

QString fontFamily()
{
    static const QString family = [] {
        const QString inter = QStringLiteral("Inter");
        if (QFontDatabase::families().contains(inter, Qt::CaseInsensitive))
            return inter;
        return QGuiApplication::font().family();
    }();
    return family;
}

QFont font(int pixelSize, QFont::Weight weight, qreal letterSpacing)
{
    QFont f(fontFamily());
    f.setPixelSize(std::max(1, pixelSize));
    f.setWeight(weight);
    if (letterSpacing != 0)
        f.setLetterSpacing(QFont::AbsoluteSpacing, letterSpacing);
    return f;
}

namespace {
// Fusion, but the menu bar's overflow button takes our chevron: Fusion's own icon is a set of
// image files whose reading loads every image-format plugin while the window is first built.
class LookStyle final : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option, const QWidget* widget) const override
    {
        if (icon == SP_ToolBarHorizontalExtensionButton)
            return Icons::onDemand([](int side, QIcon::Mode mode) {
                return Icons::pixmap(QStringLiteral("chevron.right"),
                                     mode == QIcon::Disabled ? faint() : secondary(), side, 1,
                                     QFont::DemiBold);
            });
        return QProxyStyle::standardIcon(icon, option, widget);
    }
};
} // namespace

void applyLightLook(QApplication& app)
{
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        app.setStyle(new LookStyle(fusion));

    QPalette p;
    const QColor white(Qt::white);
    p.setColor(QPalette::Window, cream());
    p.setColor(QPalette::WindowText, ink());
    p.setColor(QPalette::Base, white);
    p.setColor(QPalette::AlternateBase, segment());
    p.setColor(QPalette::ToolTipBase, white);
    p.setColor(QPalette::ToolTipText, ink());
    p.setColor(QPalette::PlaceholderText, faint());
    p.setColor(QPalette::Text, ink());
    p.setColor(QPalette::Button, white);
    p.setColor(QPalette::ButtonText, ink());
    p.setColor(QPalette::BrightText, white);
    p.setColor(QPalette::Light, white);
    p.setColor(QPalette::Midlight, segment());
    p.setColor(QPalette::Mid, border());
    p.setColor(QPalette::Dark, muted());
    p.setColor(QPalette::Shadow, secondary());
    p.setColor(QPalette::Highlight, brand());
    p.setColor(QPalette::HighlightedText, white);
    p.setColor(QPalette::Link, brand());
    p.setColor(QPalette::LinkVisited, emerald700());
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, faint());
    p.setColor(QPalette::Disabled, QPalette::Base, cream());
    p.setColor(QPalette::Disabled, QPalette::Button, segment());
    app.setPalette(p);

    QFont f = font(13);
    f.setPixelSize(13);
    app.setFont(f);
}
} // namespace Theme
