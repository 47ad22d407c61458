#include "LoadedLibraries.h"
#include "TestMain.h"

#include "ui/Animations.h"
#include "ui/Icons.h"
#include "ui/Spring.h"
#include "ui/Theme.h"

#include <QApplication>
#include <QFile>
#include <QMenuBar>
#include <QPainter>
#include <QProxyStyle>
#include <QRegularExpression>
#include <QStyle>

namespace {
QStringList loadedImagePlugins()
{
    return loadedFrom({"imageformats"});
}
} // namespace

class TestTheme : public QObject
{
    Q_OBJECT

private slots:
    void paletteValues();
    void darkness();
    void hexAndRgb();
    void fonts();
    void lightLook();
    void iconTableCoversEverySymbol();
    void iconsAreTintedAndSized();
    void iconWeightThickensStrokes();
    void iconsDrawnOnDemand();
    void springCurve();
};

void TestTheme::paletteValues()
{
    QCOMPARE(Theme::cream().name(QColor::HexRgb).toUpper(), QStringLiteral("#FAF8F5"));
    QCOMPARE(Theme::ink().name().toUpper(), QStringLiteral("#141519"));
    QCOMPARE(Theme::brand().name().toUpper(), QStringLiteral("#009764"));
    QCOMPARE(Theme::rose().name().toUpper(), QStringLiteral("#E11D48"));
    QCOMPARE(Theme::emerald950().name().toUpper(), QStringLiteral("#022C22"));
    // Same values, separate names.
    QCOMPARE(Theme::divider(), Theme::track());
    QCOMPARE(Theme::border(), Theme::bar());
    QCOMPARE(Theme::secondary(), Theme::barHover());
    QVERIFY(Theme::cardBorder() != Theme::border());
    // Translucent statistic colours over an opaque base.
    QCOMPARE(Theme::kpiFill().rgb(), Theme::hex(QStringLiteral("#059669")).rgb());
    QVERIFY(qAbs(Theme::kpiFill().alphaF() - 0.1) < 0.005);
    QVERIFY(qAbs(Theme::kpiStroke().alphaF() - 0.2) < 0.005);
    QCOMPARE(Theme::cream().alpha(), 255);
}

void TestTheme::darkness()
{
    QVERIFY(Theme::isDark(Theme::ink()));
    QVERIFY(Theme::isDark(Theme::secondary()));
    QVERIFY(Theme::isDark(Theme::rose()));
    QVERIFY(!Theme::isDark(Theme::brand()));
    QVERIFY(!Theme::isDark(Theme::cream()));
    QVERIFY(!Theme::isDark(QColor(Qt::white)));
    QVERIFY(Theme::isDark(QColor(Qt::black)));
    // An invalid colour cannot be converted: not dark.
    QVERIFY(!Theme::isDark(QColor()));
    QVERIFY(!Theme::isDark(Rgb{qQNaN(), 0, 0}));
    // The threshold lies at a luminance of about 0.196: grey #7A7A7A is still dark, #7C7C7C is not.
    QVERIFY(Theme::isDark(Theme::hex(QStringLiteral("#7A7A7A"))));
    QVERIFY(!Theme::isDark(Theme::hex(QStringLiteral("#7C7C7C"))));
    // A colour given in another model is converted first.
    QVERIFY(Theme::isDark(QColor::fromHsv(0, 0, 20)));
}

void TestTheme::hexAndRgb()
{
    QCOMPARE(Theme::hex(QStringLiteral("#E5E0D5")), QColor(0xE5, 0xE0, 0xD5));
    QCOMPARE(Theme::hex(QStringLiteral("not a colour")), QColor(Qt::black));
    const Rgb rgb = Theme::toRgb(QColor(255, 0, 51));
    QCOMPARE(rgb.red, 1.0);
    QCOMPARE(rgb.green, 0.0);
    QVERIFY(qAbs(rgb.blue - 0.2) < 1e-6);
    QCOMPARE(Theme::fromRgb(rgb), QColor(255, 0, 51));
    // Out-of-range or non-finite channels never make an invalid colour.
    const QColor clamped = Theme::fromRgb(Rgb{2.0, -1.0, qInf()});
    QVERIFY(clamped.isValid());
    QCOMPARE(clamped, QColor(255, 0, 0));
}

void TestTheme::fonts()
{
    const QFont f = Theme::font(11, QFont::Bold, 0.6);
    QCOMPARE(f.pixelSize(), 11);
    QCOMPARE(f.weight(), QFont::Bold);
    QCOMPARE(f.letterSpacingType(), QFont::AbsoluteSpacing);
    QVERIFY(qAbs(f.letterSpacing() - 0.6) < 0.02); // stored in 1/64 pixel steps
    QCOMPARE(Theme::font(12).letterSpacing(), 0.0);
    QVERIFY(!Theme::fontFamily().isEmpty());
}

void TestTheme::lightLook()
{
    // Nothing before this test reads an image file through Qt's image plugins.
    const QStringList pluginsBefore = loadedImagePlugins();
    QVERIFY2(pluginsBefore.isEmpty(), qPrintable(pluginsBefore.join(u' ')));
    Theme::applyLightLook(*qApp);
    const auto* look = qobject_cast<QProxyStyle*>(qApp->style());
    QVERIFY(look);
    QCOMPARE(look->baseStyle()->name().toLower(), QStringLiteral("fusion"));

    // The menu bar's overflow button has an icon, drawn from our symbols only when shown: making
    // the bar reads no image files (Fusion's own icon loaded every image plugin).
    {
        QMenuBar bar;
        QCOMPARE(loadedImagePlugins(), QStringList());
    }
    const QIcon more = qApp->style()->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton);
    for (qreal dpr : {1.0, 2.0}) {
        const QImage drawn = more.pixmap(QSize(16, 16), dpr).toImage();
        QCOMPARE(drawn.size(), QSize(16, 16) * dpr);
        const QImage chevron =
            Icons::pixmap(QStringLiteral("chevron.right"), Theme::secondary(), 16, dpr, QFont::DemiBold)
                .toImage();
        QVERIFY(!chevron.isNull());
        QCOMPARE(drawn.convertToFormat(QImage::Format_ARGB32),
                 chevron.convertToFormat(QImage::Format_ARGB32));
    }
    QCOMPARE(loadedImagePlugins(), QStringList());
    QCOMPARE(qApp->palette().color(QPalette::Window), Theme::cream());
    QCOMPARE(qApp->palette().color(QPalette::WindowText), Theme::ink());
    QCOMPARE(QApplication::font().family(), Theme::fontFamily());
}

void TestTheme::iconTableCoversEverySymbol()
{
    // Every symbol the views name.
    const QStringList used{"banknote",
                           "magnifyingglass",
                           "plus",
                           "xmark",
                           "checkmark",
                           "lightbulb.fill",
                           "chevron.down",
                           "chevron.up",
                           "chevron.up.chevron.down",
                           "chevron.right",
                           "macwindow",
                           "power",
                           "trash",
                           "pencil",
                           "line.3.horizontal",
                           "building.2",
                           "building.columns",
                           "person.badge.minus",
                           "rectangle.split.3x1",
                           "list.bullet.rectangle",
                           "arrow.up.and.down.and.arrow.left.and.right",
                           "calendar.badge.checkmark",
                           "crown",
                           "trophy",
                           "globe",
                           "dock.rectangle",
                           "menubar.rectangle",
                           "dollarsign.circle",
                           "ellipsis",
                           "person",
                           "square.grid.2x2",
                           "list.bullet",
                           "arrow.left",
                           "arrow.right",
                           "calendar",
                           "folder",
                           "tag"};
    for (const QString& s : used) {
        QVERIFY2(Icons::has(s), qPrintable(s));
        const QPixmap pm = Icons::pixmap(s, Qt::black, 24);
        QVERIFY2(!pm.isNull(), qPrintable(s));
        // Something is drawn: the drawing is not blank.
        const QImage img = pm.toImage();
        int covered = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                covered += qAlpha(img.pixel(x, y)) > 128;
        QVERIFY2(covered > 10, qPrintable(s));
    }
    // Every table entry loads.
    for (const QString& s : Icons::symbols())
        QVERIFY2(!Icons::pixmap(s, Qt::black, 16).isNull(), qPrintable(s));

    QVERIFY(!Icons::has(QStringLiteral("no.such.symbol")));
    QVERIFY(Icons::pixmap(QStringLiteral("no.such.symbol"), Qt::black, 16).isNull());
    QVERIFY(Icons::icon(QStringLiteral("no.such.symbol"), Qt::black, 16).isNull());
    QVERIFY(Icons::pixmap(QStringLiteral("plus"), Qt::black, 0).isNull());
}

void TestTheme::iconsAreTintedAndSized()
{
    const QPixmap pm = Icons::pixmap(QStringLiteral("plus"), Theme::rose(), 12, 2);
    QCOMPARE(pm.size(), QSize(24, 24));
    QCOMPARE(pm.devicePixelRatio(), 2.0);
    const QImage img = pm.toImage().convertToFormat(QImage::Format_ARGB32);
    // The middle of the plus is fully covered and in the tint.
    QCOMPARE(QColor(img.pixel(12, 12)).rgb(), Theme::rose().rgb());
    QCOMPARE(qAlpha(img.pixel(12, 12)), 255);
    // A corner stays transparent.
    QCOMPARE(qAlpha(img.pixel(1, 1)), 0);
    const QIcon icon = Icons::icon(QStringLiteral("trash"), Theme::muted(), 14);
    QVERIFY(!icon.isNull());
    QCOMPARE(icon.pixmap(QSize(14, 14)).size(), QSize(14, 14));
}

void TestTheme::iconWeightThickensStrokes()
{
    auto coverage = [](QFont::Weight w) {
        const QImage img = Icons::pixmap(QStringLiteral("xmark"), Qt::black, 48, 1, w).toImage();
        qint64 sum = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                sum += qAlpha(img.pixel(x, y));
        return sum;
    };
    QVERIFY(coverage(QFont::Bold) > coverage(QFont::Normal) * 1.2);
    QVERIFY(coverage(QFont::Normal) > coverage(QFont::Light));
}

void TestTheme::iconsDrawnOnDemand()
{
    QList<std::pair<int, QIcon::Mode>> drawn;
    const QIcon icon = Icons::onDemand(
        [&drawn](int side, QIcon::Mode mode) {
            drawn.append({side, mode});
            QPixmap pm(side, side);
            pm.fill(mode == QIcon::Disabled ? Qt::gray : Qt::red);
            return pm;
        },
        {QSize(16, 16), QSize(32, 32)});
    QVERIFY(drawn.isEmpty());
    QCOMPARE(icon.availableSizes(), QList<QSize>({QSize(16, 16), QSize(32, 32)}));

    QPixmap pm = icon.pixmap(QSize(16, 16));
    QCOMPARE(pm.size(), QSize(16, 16));
    QCOMPARE(pm.toImage().pixelColor(8, 8), QColor(Qt::red));
    icon.pixmap(QSize(16, 16));
    QCOMPARE(drawn.size(), 1); // kept, not drawn again

    // A sharper screen asks for more device pixels, at the same size in points.
    pm = icon.pixmap(QSize(16, 16), 2.0);
    QCOMPARE(pm.size(), QSize(32, 32));
    QCOMPARE(pm.devicePixelRatio(), 2.0);
    QCOMPARE(drawn.last(), std::make_pair(32, QIcon::Normal));
    QCOMPARE(icon.pixmap(QSize(16, 16), QIcon::Disabled).toImage().pixelColor(8, 8), QColor(Qt::gray));
    QCOMPARE(drawn.size(), 3);

    // Painted straight into a rectangle, at its size.
    QImage canvas(40, 40, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::white);
    {
        QPainter p(&canvas);
        icon.paint(&p, QRect(10, 10, 20, 20));
    }
    QCOMPARE(drawn.last().first, 20);
    QCOMPARE(canvas.pixelColor(20, 20), QColor(Qt::red));
    QCOMPARE(canvas.pixelColor(5, 5), QColor(Qt::white));
}

void TestTheme::springCurve()
{
    QCOMPARE(Spring::value(0, 0.22, 0.85), 0.0);
    QCOMPARE(Spring::value(-1, 0.22, 0.85), 0.0);
    // x(t) = 1 - e^(-z w t)(cos(wd t) + z w / wd sin(wd t)) at a hand-computed point.
    const qreal w = 2 * M_PI / 0.22;
    const qreal wd = w * std::sqrt(1 - 0.85 * 0.85);
    const qreal t = 0.05;
    const qreal expected =
        1 - std::exp(-0.85 * w * t) * (std::cos(wd * t) + 0.85 * w / wd * std::sin(wd * t));
    QVERIFY(qAbs(Spring::value(t, 0.22, 0.85) - expected) < 1e-12);
    // Under-damped: it overshoots a little, then settles.
    qreal peak = 0;
    for (qreal s = 0; s < 1; s += 0.001)
        peak = std::max(peak, Spring::value(s, 0.22, 0.85));
    QVERIFY(peak > 1.0 && peak < 1.02);
    // Critically and over-damped springs never overshoot and still arrive.
    for (qreal z : {1.0, 1.5}) {
        for (qreal s = 0; s < 2; s += 0.01)
            QVERIFY(Spring::value(s, 0.3, z) <= 1.0 + 1e-9);
        QVERIFY(Spring::value(5, 0.3, z) > 0.999);
    }

    const qreal settle = Spring::settleTime(0.22, 0.85);
    QVERIFY(settle > 0.15 && settle < 0.6);
    for (qreal s = settle; s < settle + 1; s += 0.0005)
        QVERIFY(qAbs(1 - Spring::value(s, 0.22, 0.85)) <= 0.001);
    QVERIFY(qAbs(1 - Spring::value(settle - 0.02, 0.22, 0.85)) > 0.001);

    SpringAnimation anim(0.22, 0.85);
    QCOMPARE(anim.duration(), qRound(settle * 1000));
    anim.setStartValue(0.0);
    anim.setEndValue(100.0);
    anim.setCurrentTime(anim.duration() / 4);
    QVERIFY(qAbs(anim.currentValue().toReal() -
                 100 * Spring::value(anim.duration() / 4 / 1000.0, 0.22, 0.85)) < 1e-6);
    anim.setCurrentTime(anim.duration());
    QCOMPARE(anim.currentValue().toReal(), 100.0);

    Animations::setEnabled(false);
    QVERIFY(!Animations::enabled());
    Animations::setEnabled(true);
}

TB_WIDGET_TEST_MAIN(TestTheme)
#include "tst_theme.moc"
