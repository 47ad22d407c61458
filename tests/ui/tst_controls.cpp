#include "TestMain.h"

#include "model/Store.h"
#include "ui/Animations.h"
#include "ui/ColorDot.h"
#include "ui/CountBadge.h"
#include "ui/Eyebrow.h"
#include "ui/GlyphButton.h"
#include "ui/InkButton.h"
#include "ui/InvalidOutline.h"
#include "ui/KeyboardFocus.h"
#include "ui/OutlineButton.h"
#include "ui/Painters.h"
#include "ui/PanelFrame.h"
#include "ui/PanelShadow.h"
#include "ui/PillOption.h"
#include "ui/PillSegment.h"
#include "ui/ProgressTrack.h"
#include "ui/Theme.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <memory>

namespace {
QImage render(QWidget& w)
{
    QImage img(w.size(), QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    w.render(&img, QPoint(), QRegion(), QWidget::DrawChildren); // no window background
    return img;
}

QColor at(const QImage& img, int x, int y)
{
    return QColor::fromRgba(img.pixel(x, y));
}

// The plain separable Gaussian with clamped indices, the way the blur is defined.
QImage referenceBlur(const QImage& source, qreal sigma)
{
    const int radius = int(std::ceil(sigma * 3));
    std::vector<float> kernel(size_t(2 * radius + 1));
    float sum = 0;
    for (int i = -radius; i <= radius; ++i)
        sum += kernel[size_t(i + radius)] = float(std::exp(-(i * i) / (2 * sigma * sigma)));
    for (float& k : kernel)
        k /= sum;
    const int w = source.width();
    const int h = source.height();
    std::vector<float> tmp(size_t(w * h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float acc = 0;
            for (int k = -radius; k <= radius; ++k)
                acc += source.constScanLine(y)[std::clamp(x + k, 0, w - 1)] * kernel[size_t(k + radius)];
            tmp[size_t(y * w + x)] = acc;
        }
    QImage out = source;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float acc = 0;
            for (int k = -radius; k <= radius; ++k)
                acc += tmp[size_t(std::clamp(y + k, 0, h - 1) * w + x)] * kernel[size_t(k + radius)];
            out.scanLine(y)[x] = uchar(std::clamp(std::lround(acc), 0L, 255L));
        }
    return out;
}

bool near(const QColor& a, const QColor& b, int tolerance = 6)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance &&
           qAbs(a.blue() - b.blue()) <= tolerance && qAbs(a.alpha() - b.alpha()) <= tolerance;
}
} // namespace

class TestControls : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void eyebrowCasing();
    void countBadge();
    void progressTrackFill();
    void progressTrackAnimates();
    void pillLayoutAndCapsule();
    void pillClicks();
    void pillSlides();
    void pillAccessibility();
    void inkAndOutlineButtons();
    void focusRingOnlyFromTheKeyboard();
    void sharedFocusRing();
    void glyphButton();
    void glyphButtonLooks();
    void colorDot();
    void panelFrame();
    void shadowBlurMatchesReference();
    void invalidOutline();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Store> m_store;
};

void TestControls::init()
{
    Animations::setEnabled(false);
    m_dir = std::make_unique<QTemporaryDir>();
    m_store = std::make_unique<Store>(m_dir->path(), true);
    m_store->setLanguage(AppLanguage::en);
}

void TestControls::eyebrowCasing()
{
    Eyebrow label(QStringLiteral("income list"), Theme::muted(), m_store.get());
    QCOMPARE(label.text(), QStringLiteral("INCOME LIST"));
    QCOMPARE(label.sourceText(), QStringLiteral("income list"));
    QCOMPARE(label.font().pixelSize(), 11);
    QCOMPARE(label.font().weight(), QFont::Bold);
    QCOMPARE(label.palette().color(QPalette::WindowText), Theme::muted());

    // The language switch re-cases the same source text.
    m_store->setLanguage(AppLanguage::tr);
    QCOMPARE(label.text(), QStringLiteral("İNCOME LİST"));
    label.setText(QStringLiteral("fiyat ılık"));
    QCOMPARE(label.text(), QStringLiteral("FİYAT ILIK"));
    m_store->setLanguage(AppLanguage::en);
    QCOMPARE(label.text(), QStringLiteral("FIYAT ILIK"));

    // Without a store: default casing.
    Eyebrow plain(QStringLiteral("limit"), Theme::emerald800());
    QCOMPARE(plain.text(), QStringLiteral("LIMIT"));

    // A store that goes away first leaves a working label.
    auto* store = new Store(m_dir->path(), true);
    store->setLanguage(AppLanguage::tr);
    Eyebrow orphan(QStringLiteral("iş"), Theme::ink(), store);
    QCOMPARE(orphan.text(), QStringLiteral("İŞ"));
    delete store;
    orphan.setText(QStringLiteral("bitti"));
    QCOMPARE(orphan.text(), QStringLiteral("BITTI"));
}

void TestControls::countBadge()
{
    CountBadge badge(QStringLiteral("12 projects"));
    const QFontMetrics fm(Theme::font(11, QFont::DemiBold));
    QCOMPARE(badge.sizeHint(),
             QSize(fm.horizontalAdvance(QStringLiteral("12 projects")) + 20, fm.height() + 6));
    badge.setText(QStringLiteral("3"));
    QCOMPARE(badge.text(), QStringLiteral("3"));
    // A short count still makes a pill, never a squeezed shape.
    QVERIFY(badge.sizeHint().width() >= badge.sizeHint().height());

    badge.setText(QStringLiteral("12 projects"));
    badge.resize(badge.sizeHint());
    const QImage img = render(badge);
    const int midY = img.height() / 2;
    QVERIFY(near(at(img, img.width() / 2, 0), Theme::border()));
    QVERIFY(near(at(img, 6, midY), Theme::cream()));
    QCOMPARE(at(img, 0, 0).alpha(), 0); // outside the capsule's round end
}

void TestControls::progressTrackFill()
{
    ProgressTrack track(0.5, 6);
    track.resize(200, 6);
    QCOMPARE(track.height(), 6);
    QCOMPARE(track.fillRect(), QRectF(0, 0, 100, 6));
    QImage img = render(track);
    QVERIFY(near(at(img, 50, 3), Theme::brand()));
    QVERIFY(near(at(img, 150, 3), Theme::track()));

    track.setValue(0);
    QVERIFY(track.fillRect().isEmpty());
    img = render(track);
    QVERIFY(near(at(img, 4, 3), Theme::track()));

    track.setValue(-0.3);
    QCOMPARE(track.value(), -0.3);
    QVERIFY(track.fillRect().isEmpty());
    img = render(track);
    QVERIFY(near(at(img, 4, 3), Theme::track()));

    // Not capped here: callers pass 0 to 1, anything above simply fills past the end.
    track.setValue(1.5);
    QCOMPARE(track.fillRect().width(), 300.0);
    img = render(track);
    QVERIFY(near(at(img, 196, 3), Theme::brand()));

    track.setValue(qQNaN());
    QVERIFY(track.fillRect().isEmpty());

    // A screen reader reads a progress bar with its value and range.
    track.setValue(0.425);
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&track);
    QCOMPARE(a->role(), QAccessible::ProgressBar);
    QAccessibleValueInterface* value = a->valueInterface();
    QVERIFY(value);
    QCOMPARE(value->currentValue().toDouble(), 42.5);
    QCOMPARE(value->minimumValue().toDouble(), 0.0);
    QCOMPARE(value->maximumValue().toDouble(), 100.0);
    QCOMPARE(a->text(QAccessible::Value), QStringLiteral("43%"));
    track.setValue(1.5); // past the target: the range holds, the text says it all
    QCOMPARE(value->currentValue().toDouble(), 100.0);
    QCOMPARE(a->text(QAccessible::Value), QStringLiteral("150%"));
}

void TestControls::progressTrackAnimates()
{
    Animations::setEnabled(true);
    ProgressTrack track(0, 6);
    track.resize(200, 6);
    track.show();
    QVERIFY(QTest::qWaitForWindowExposed(&track));
    track.setValue(1);
    QCOMPARE(track.value(), 1.0);
    QVERIFY(track.shownValue() < 1.0);
    QTRY_VERIFY_WITH_TIMEOUT(track.shownValue() > 0.0 && track.shownValue() < 1.0, 350);
    QTRY_COMPARE_WITH_TIMEOUT(track.shownValue(), 1.0, 2000);
    QCOMPARE(track.fillRect().width(), 200.0);
}

void TestControls::pillLayoutAndCapsule()
{
    PillSegment pill;
    pill.setOptions({{QStringLiteral("a"), QStringLiteral("Board"), {}},
                     {QStringLiteral("b"), QStringLiteral("Statistics"), {}},
                     {QStringLiteral("c"), QStringLiteral("Settings"), QStringLiteral("globe")}});
    pill.setSelection(QStringLiteral("b"));
    pill.resize(pill.sizeHint());
    const QFontMetrics fm(Theme::font(12, QFont::DemiBold));
    QCOMPARE(pill.optionRect(0).topLeft(), QPointF(4, 4));
    QCOMPARE(pill.optionRect(0).width(), qreal(fm.horizontalAdvance(QStringLiteral("Board")) + 40));
    QCOMPARE(pill.optionRect(0).height(), qreal(fm.height() + 14));
    QCOMPARE(pill.optionRect(1).left(), pill.optionRect(0).right());
    // Icon (10) and label 6 apart.
    QCOMPARE(pill.optionRect(2).width(),
             qreal(fm.horizontalAdvance(QStringLiteral("Settings")) + 10 + 6 + 40));
    QCOMPARE(pill.sizeHint().width(), qRound(pill.optionRect(2).right()) + 4);

    QCOMPARE(pill.selectedIndex(), 1);
    QCOMPARE(pill.capsuleRect(), pill.optionRect(1));
    QImage img = render(pill);
    const QRectF sel = pill.optionRect(1);
    QVERIFY(near(at(img, int(sel.left() + sel.height() / 2), 6), Theme::ink()));
    QVERIFY(near(at(img, int(pill.optionRect(0).left() + 14), 7), Theme::segment()));

    // A selection that is not among the options: no dark capsule anywhere.
    pill.setSelection(QStringLiteral("zzz"));
    QCOMPARE(pill.selectedIndex(), -1);
    QVERIFY(pill.capsuleRect().isEmpty());
    img = render(pill);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            QVERIFY(!near(at(img, x, y), Theme::ink(), 2));
    for (int i = 0; i < 3; ++i)
        QVERIFY(!pill.optionButton(i)->isSelected());

    // One option, selected.
    PillSegment single;
    single.setOptions({{1, QStringLiteral("Only"), {}}});
    single.setSelection(1);
    QCOMPARE(single.selectedIndex(), 0);
    QVERIFY(single.optionButton(0)->isSelected());
    QCOMPARE(single.capsuleRect(), single.optionRect(0));

    // Compact: 2 around, 14 / 5 inside.
    pill.setCompact(true);
    pill.resize(pill.sizeHint());
    QCOMPARE(pill.optionRect(0).topLeft(), QPointF(2, 2));
    QCOMPARE(pill.optionRect(0).width(), qreal(fm.horizontalAdvance(QStringLiteral("Board")) + 28));
    QCOMPARE(pill.optionRect(0).height(), qreal(fm.height() + 10));

    // Replacing the options keeps the selection value and finds it again.
    pill.setSelection(QStringLiteral("c"));
    pill.setOptions({{QStringLiteral("c"), QStringLiteral("Settings"), {}}});
    QCOMPARE(pill.selectedIndex(), 0);
    QVERIFY(pill.optionButton(1) == nullptr);
}

void TestControls::pillClicks()
{
    PillSegment pill;
    pill.setOptions({{false, QStringLiteral("Selected Year"), {}}, {true, QStringLiteral("All Time"), {}}});
    QSignalSpy spy(&pill, &PillSegment::selectionChanged);
    pill.setSelection(false);
    QCOMPARE(spy.count(), 0); // programmatic changes are silent
    pill.resize(pill.sizeHint());
    pill.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pill));

    // The whole capsule area is clickable, not only the text.
    QTest::mouseClick(pill.optionButton(1), Qt::LeftButton, {}, QPoint(3, 3));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0), QVariant(true));
    QCOMPARE(pill.selection(), QVariant(true));
    QVERIFY(pill.optionButton(1)->isSelected());
    QVERIFY(!pill.optionButton(0)->isSelected());

    // Clicking the selected option changes nothing.
    QTest::mouseClick(pill.optionButton(1), Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QVERIFY(pill.optionButton(1)->isSelected());

    // The trough padding between edge and options is not an option.
    QTest::mouseClick(&pill, Qt::LeftButton, {}, QPoint(1, 1));
    QCOMPARE(spy.count(), 1);
}

void TestControls::pillSlides()
{
    Animations::setEnabled(true);
    PillSegment pill;
    pill.setOptions(
        {{0, QStringLiteral("One"), {}}, {1, QStringLiteral("Two"), {}}, {2, QStringLiteral("Three"), {}}});
    pill.setSelection(0);
    pill.resize(pill.sizeHint());
    pill.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pill));

    QTest::mouseClick(pill.optionButton(2), Qt::LeftButton);
    QCOMPARE(pill.selection(), QVariant(2));
    QVERIFY(pill.isSliding());
    // On its way the capsule sits between where it was and where it goes.
    QTRY_VERIFY_WITH_TIMEOUT(pill.capsuleRect().left() > pill.optionRect(0).left() + 1 &&
                                 pill.capsuleRect().left() < pill.optionRect(2).left() - 1,
                             300);
    QTRY_VERIFY_WITH_TIMEOUT(!pill.isSliding(), 2000);
    QCOMPARE(pill.capsuleRect(), pill.optionRect(2));

    // A programmatic change jumps.
    pill.setSelection(1);
    QVERIFY(!pill.isSliding());
    QCOMPARE(pill.capsuleRect(), pill.optionRect(1));
}

void TestControls::pillAccessibility()
{
    PillSegment pill;
    pill.setOptions({{QStringLiteral("en"), QStringLiteral("English"), {}},
                     {QStringLiteral("tr"), QStringLiteral("Türkçe"), {}}});
    pill.setSelection(QStringLiteral("tr"));
    pill.resize(pill.sizeHint());
    pill.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pill));

    QAccessibleInterface* english = QAccessible::queryAccessibleInterface(pill.optionButton(0));
    QAccessibleInterface* turkish = QAccessible::queryAccessibleInterface(pill.optionButton(1));
    QVERIFY(english && turkish);
    // Radio buttons, so that a screen reader says which one is chosen.
    QCOMPARE(english->role(), QAccessible::RadioButton);
    QVERIFY(turkish->state().checked && !english->state().checked);
    QCOMPARE(english->text(QAccessible::Name), QStringLiteral("English"));
    QVERIFY(turkish->state().selected);
    QVERIFY(!english->state().selected);

    QSignalSpy spy(&pill, &PillSegment::selectionChanged);
    QAccessibleActionInterface* action = english->actionInterface();
    QVERIFY(action);
    QVERIFY(action->actionNames().contains(QAccessibleActionInterface::pressAction()));
    action->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(spy.count(), 1);
    QVERIFY(english->state().selected);
    QVERIFY(!turkish->state().selected);
    // The window's pages are page tabs.
    pill.setOptionRole(QAccessible::PageTab);
    QCOMPARE(english->role(), QAccessible::PageTab);
}

void TestControls::inkAndOutlineButtons()
{
    InkButton ink(QStringLiteral("New Project"), QStringLiteral("plus"));
    const QFontMetrics fm(Theme::font(12, QFont::DemiBold));
    QCOMPARE(ink.sizeHint(),
             QSize(fm.horizontalAdvance(QStringLiteral("New Project")) + 12 + 6 + 32, fm.height() + 16));
    InkButton plain(QStringLiteral("Save"));
    QCOMPARE(plain.sizeHint().width(), fm.horizontalAdvance(QStringLiteral("Save")) + 32);

    ink.resize(ink.sizeHint());
    const int midY = ink.height() / 2;
    QImage img = render(ink);
    QVERIFY(near(at(img, 1, midY), Theme::ink()));
    // Pressed: black, and pulled in from the edges by the 0.97 scale.
    ink.setDown(true);
    img = render(ink);
    QVERIFY(at(img, 1, midY).alpha() < 128);
    QVERIFY(near(at(img, 5, midY), QColor(Qt::black)));

    OutlineButton outline(QStringLiteral("Cancel"));
    outline.resize(outline.sizeHint());
    QCOMPARE(outline.sizeHint(),
             QSize(fm.horizontalAdvance(QStringLiteral("Cancel")) + 32, fm.height() + 16));
    img = render(outline);
    QVERIFY(near(at(img, outline.width() / 2, 0), Theme::border()));
    QVERIFY(near(at(img, outline.width() / 2, 3), QColor(Qt::white)));
    outline.setDown(true);
    img = render(outline);
    QVERIFY(near(at(img, outline.width() / 2, 3), Theme::segment()));
    // No scaling: the outline still reaches the edge.
    QVERIFY(near(at(img, 0, outline.height() / 2), Theme::border(), 20));

    QSignalSpy clicked(&outline, &QPushButton::clicked);
    outline.setDown(false);
    outline.show();
    QVERIFY(QTest::qWaitForWindowExposed(&outline));
    QTest::mouseClick(&outline, Qt::LeftButton);
    QCOMPARE(clicked.count(), 1);
}

void TestControls::focusRingOnlyFromTheKeyboard()
{
    QWidget host;
    host.resize(300, 100);
    auto* first = new InkButton(QStringLiteral("First"), QString(), &host);
    auto* second = new OutlineButton(QStringLiteral("Second"), QString(), &host);
    first->setGeometry(10, 10, 120, 34);
    second->setGeometry(150, 10, 120, 34);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    const QImage rest = second->grab().toImage();

    // Tab and shortcuts draw the ring; a click does not; leaving takes it away.
    second->setFocus(Qt::TabFocusReason);
    QVERIFY(KeyboardFocus::ringShown(second));
    QVERIFY(second->grab().toImage() != rest);
    first->setFocus(Qt::MouseFocusReason);
    QVERIFY(!KeyboardFocus::ringShown(second));
    QVERIFY(!KeyboardFocus::ringShown(first));
    QCOMPARE(second->grab().toImage(), rest);
    second->setFocus(Qt::MouseFocusReason);
    QVERIFY(!KeyboardFocus::ringShown(second));
    QCOMPARE(second->grab().toImage(), rest);
    first->setFocus(Qt::ShortcutFocusReason);
    QVERIFY(KeyboardFocus::ringShown(first));
    QVERIFY(!KeyboardFocus::ringShown(second));
    second->setFocus(Qt::BacktabFocusReason);
    QVERIFY(KeyboardFocus::ringShown(second));
    QVERIFY(!KeyboardFocus::ringShown(first));
}

void TestControls::sharedFocusRing()
{
    // Full strength whatever the painter's opacity, inside the rectangle, in the ring colour unless
    // another is given.
    QImage img(40, 20, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        p.setOpacity(0.3);
        KeyboardFocus::paintRing(p, QRectF(0, 0, 40, 20));
        QCOMPARE(p.opacity(), 0.3);
    }
    QVERIFY(near(at(img, 20, 0), KeyboardFocus::ringColor(), 2));
    QCOMPARE(at(img, 20, 2).alpha(), 0);
    QCOMPARE(at(img, 0, 0).alpha(), 0); // capsule corners

    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        KeyboardFocus::paintRing(p, QRectF(0, 0, 40, 20), 2, Qt::red, 2);
    }
    QVERIFY(near(at(img, 20, 1), QColor(Qt::red), 2));
    QCOMPARE(at(img, 20, 2).alpha(), 0);
    QVERIFY(at(img, 1, 1).alpha() > 0); // small corners, not a capsule

    // The conditional form draws only while the control shows keyboard focus.
    QWidget control;
    control.resize(40, 20);
    KeyboardFocus::track(&control);
    control.setFocusPolicy(Qt::TabFocus);
    control.show();
    QVERIFY(QTest::qWaitForWindowActive(&control));
    const auto ringOf = [&control] {
        QImage out(40, 20, QImage::Format_ARGB32);
        out.fill(Qt::transparent);
        QPainter p(&out);
        KeyboardFocus::paintRing(p, &control, QRectF(0, 0, 40, 20));
        return at(out, 20, 0).alpha();
    };
    control.setFocus(Qt::MouseFocusReason);
    QCOMPARE(ringOf(), 0);
    control.clearFocus();
    control.setFocus(Qt::TabFocusReason);
    QVERIFY(ringOf() > 0);
}

void TestControls::glyphButton()
{
    QWidget host;
    host.resize(200, 60);
    auto* button = new GlyphButton(
        {QStringLiteral("xmark"), Theme::muted(), 10, QFont::DemiBold, 24, Theme::cream()}, &host);
    button->setAccessibleName(QStringLiteral("Close"));
    auto* other = new InkButton(QStringLiteral("Other"), QString(), &host);
    button->move(10, 10);
    other->setGeometry(60, 10, 100, 34);
    QCOMPARE(button->sizeHint(), QSize(24, 24));
    button->resize(button->sizeHint());
    host.show();
    QVERIFY(QTest::qWaitForWindowActive(&host));

    // A cream circle filling the frame, the symbol in its middle, the corners clear.
    const QImage rest = render(*button);
    QVERIFY(near(at(rest, 3, 12), Theme::cream()));
    QCOMPARE(at(rest, 0, 0).alpha(), 0);
    QVERIFY(!near(at(rest, 12, 12), Theme::cream(), 20));

    // Pressed: the circle a shade darker.
    button->setDown(true);
    QVERIFY(near(at(render(*button), 3, 12), Theme::cream().darker(106), 1));
    button->setDown(false);
    QCOMPARE(render(*button), rest);

    // The shared ring, only for focus from the keyboard.
    button->setFocus(Qt::MouseFocusReason);
    QVERIFY(button->hasFocus());
    QCOMPARE(render(*button), rest);
    other->setFocus(Qt::TabFocusReason);
    button->setFocus(Qt::TabFocusReason);
    const QImage ring = render(*button);
    QVERIFY(near(at(ring, 1, 12), Theme::mix(Theme::cream(), Theme::brand(), 0.6), 12));
    QVERIFY(near(at(ring, 3, 12), Theme::cream()));
    QVERIFY(near(at(ring, 12, 1), at(ring, 1, 12), 2));

    // A click and the Space key both activate it; a click leaves the keyboard focus where it was.
    QSignalSpy clicked(button, &QAbstractButton::clicked);
    other->setFocus(Qt::TabFocusReason);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(clicked.count(), 1);
    QVERIFY(other->hasFocus());
    button->setFocus(Qt::TabFocusReason);
    QTest::keyClick(button, Qt::Key_Space);
    QCOMPARE(clicked.count(), 2);

    // A screen reader hears a button by its name.
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(button);
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::Button);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Close"));
}

void TestControls::glyphButtonLooks()
{
    // A hairline round a circle inset by half a pixel, pressed into another colour.
    GlyphButton::Look look{
        QStringLiteral("magnifyingglass"), Theme::secondary(), 12, QFont::DemiBold, 34, Qt::white};
    look.pressedCircle = Theme::segment();
    look.outline = Theme::outline();
    look.circleInset = 0.5;
    GlyphButton outlined(look);
    outlined.resize(outlined.sizeHint());
    QCOMPARE(outlined.size(), QSize(34, 34));
    QImage img = render(outlined);
    QVERIFY(near(at(img, 17, 0), Theme::outline(), 40));
    QVERIFY(near(at(img, 4, 17), QColor(Qt::white)));
    outlined.setDown(true);
    img = render(outlined);
    QVERIFY(near(at(img, 4, 17), Theme::segment()));
    QVERIFY(near(at(img, 17, 0), Theme::outline(), 40));

    // A faint circle that stays as it is while the symbol dims.
    GlyphButton::Look faint{
        QStringLiteral("checkmark"), Theme::brand(), 10, QFont::Bold, 22, Theme::kpiFill()};
    faint.pressedCircle = faint.circle;
    faint.pressedSymbolOpacity = 0.6;
    GlyphButton dimming(faint);
    dimming.resize(dimming.sizeHint());
    const QImage up = render(dimming);
    dimming.setDown(true);
    const QImage down = render(dimming);
    QCOMPARE(at(down, 3, 11), at(up, 3, 11));
    QVERIFY(down != up);

    // With a text: the symbol first, then the text, wider than the square; disabled, faded.
    GlyphButton text({QStringLiteral("trash"), Theme::rose(), 12, QFont::DemiBold, 24, QColor(),
                      Theme::font(12, QFont::DemiBold)});
    text.setText(QStringLiteral("Delete"));
    const QFontMetrics fm(Theme::font(12, QFont::DemiBold));
    QCOMPARE(text.sizeHint(),
             QSize(12 + 6 + fm.horizontalAdvance(QStringLiteral("Delete")) + 2, std::max(24, fm.height())));
    text.resize(text.sizeHint());
    const QImage enabled = render(text);
    text.setEnabled(false);
    const QImage disabled = render(text);
    int strongest = 0;
    int strongestDisabled = 0;
    for (int y = 0; y < enabled.height(); ++y)
        for (int x = 0; x < enabled.width(); ++x) {
            strongest = std::max(strongest, qAlpha(enabled.pixel(x, y)));
            strongestDisabled = std::max(strongestDisabled, qAlpha(disabled.pixel(x, y)));
        }
    QVERIFY(strongest > 200);
    QVERIFY(strongestDisabled < 128);
}

void TestControls::colorDot()
{
    ColorDot dot(Theme::statusDot(Status::paid), 8);
    QCOMPARE(dot.size(), QSize(8, 8));
    QCOMPARE(dot.color(), Theme::statusDot(Status::paid));
    const QImage img = render(dot);
    QVERIFY(near(at(img, 4, 4), Theme::statusDot(Status::paid)));
    QVERIFY(at(img, 0, 0).alpha() < 64);
}

void TestControls::panelFrame()
{
    QWidget host;
    host.resize(400, 300);
    QPalette p = host.palette();
    p.setColor(QPalette::Window, Theme::cream());
    host.setPalette(p);
    host.setAutoFillBackground(true);
    auto* panel = new PanelFrame(16, 12, &host);
    auto* label = new QLabel(QStringLiteral("Content"));
    panel->body()->addWidget(label);
    panel->setGeometry(100, 60, 200, 120);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));

    QCOMPARE(label->geometry().topLeft(), QPoint(12, 12));
    QCOMPARE(label->geometry().right(), 200 - 12 - 1);

    auto* shadow = host.findChild<PanelShadow*>();
    QVERIFY(shadow);
    QVERIFY(shadow->isVisible());
    QVERIFY(shadow->geometry().contains(panel->geometry()));
    // The shadow falls downwards.
    QVERIFY(shadow->geometry().bottom() - panel->geometry().bottom() >
            panel->geometry().top() - shadow->geometry().top());

    const QImage img = host.grab().toImage();
    QVERIFY(near(at(img, 160, 100), QColor(Qt::white)));
    QVERIFY(near(at(img, 200, 60), Theme::border()));
    const QColor below = at(img, 200, 60 + 120 + 6);
    const QColor above = at(img, 200, 60 - 6);
    QVERIFY(below.lightness() < above.lightness());
    QVERIFY(below.lightness() > Theme::cream().lightness() - 30); // soft, not a hard line
    QVERIFY(near(at(img, 5, 5), Theme::cream(), 1));

    panel->move(20, 20);
    QVERIFY(shadow->geometry().contains(panel->geometry()));
    panel->hide();
    QVERIFY(!shadow->isVisible());
    panel->show();
    QVERIFY(shadow->isVisible());
    delete panel;
    QVERIFY(host.findChild<PanelShadow*>() == nullptr);

    // A panel put into a layout later gets its shadow in the new parent; the host then takes both down.
    auto* later = new PanelFrame(12, 8);
    auto* hostLayout = new QVBoxLayout(&host);
    hostLayout->addWidget(later);
    QVERIFY(host.findChild<PanelShadow*>() != nullptr);
    QTRY_VERIFY(later->isVisible() && host.findChild<PanelShadow*>()->isVisible());
    QTRY_VERIFY(host.findChild<PanelShadow*>()->geometry().contains(later->geometry()));
    QCOMPARE(later->geometry().width(), host.width() - 2 * hostLayout->contentsMargins().left());
}

void TestControls::shadowBlurMatchesReference()
{
    // A shadow's tile (rounded square on a clear margin), a tile whose shape touches the edges,
    // noise with bright edges, and images narrower than the kernel.
    QVector<QImage> images;
    QImage tile(90, 90, QImage::Format_Alpha8);
    tile.fill(0);
    {
        QPainter p(&tile);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawRoundedRect(QRectF(21, 21, 48, 48), 22, 22);
    }
    images << tile << tile.copy(15, 15, 60, 60);
    QRandomGenerator random(7);
    for (QSize size : {QSize(37, 23), QSize(5, 40), QSize(1, 1), QSize(3, 2)}) {
        QImage noise(size, QImage::Format_Alpha8);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                noise.scanLine(y)[x] = uchar(random.bounded(256));
        images << noise;
    }
    QImage stripes(40, 30, QImage::Format_Alpha8); // equal rows and columns in runs
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            stripes.scanLine(y)[x] = uchar((x / 7 + y / 5) % 2 ? 255 : 40);
    images << stripes;

    for (qreal sigma : {0.5, 1.5, 3.0, 7.0}) {
        for (const QImage& image : std::as_const(images)) {
            QImage fast = image;
            Painters::blurAlpha(fast, sigma);
            const QImage expected = referenceBlur(image, sigma);
            for (int y = 0; y < image.height(); ++y)
                QVERIFY2(std::equal(fast.constScanLine(y), fast.constScanLine(y) + image.width(),
                                    expected.constScanLine(y)),
                         qPrintable(QStringLiteral("sigma %1, %2x%3, row %4")
                                        .arg(sigma)
                                        .arg(image.width())
                                        .arg(image.height())
                                        .arg(y)));
        }
    }
    // Only Alpha8 is blurred; anything else is left as it was.
    QImage rgb(8, 8, QImage::Format_RGB32);
    rgb.fill(Qt::red);
    rgb.setPixel(0, 0, qRgb(0, 0, 255));
    const QImage before = rgb;
    Painters::blurAlpha(rgb, 2);
    QCOMPARE(rgb, before);
}

void TestControls::invalidOutline()
{
    QLineEdit field;
    field.resize(180, 36);
    QVERIFY(!isInvalid(&field));
    setInvalid(&field, false);
    QVERIFY(InvalidOutline::of(&field) == nullptr);

    setInvalid(&field, true);
    QVERIFY(isInvalid(&field));
    QCOMPARE(field.accessibleDescription(), QStringLiteral("Not a valid amount"));
    InvalidOutline* outline = InvalidOutline::of(&field);
    QVERIFY(outline);
    QCOMPARE(outline->geometry(), field.rect());
    QVERIFY(outline->testAttribute(Qt::WA_TransparentForMouseEvents));

    field.show();
    QVERIFY(QTest::qWaitForWindowExposed(&field));
    QImage img = field.grab().toImage();
    QVERIFY(near(at(img, 90, 0), Theme::rose(), 20));
    QVERIFY(near(at(img, 0, 18), Theme::rose(), 20));

    // It follows the field's size.
    field.resize(240, 40);
    QCOMPARE(outline->geometry(), QRect(0, 0, 240, 40));

    setInvalid(&field, true); // twice: still one overlay
    QCOMPARE(field.findChildren<InvalidOutline*>().size(), 1);

    setInvalid(&field, false);
    QVERIFY(!isInvalid(&field));
    QVERIFY(field.accessibleDescription().isEmpty());
    img = field.grab().toImage();
    QVERIFY(!near(at(img, 120, 0), Theme::rose(), 40));
    setInvalid(nullptr, true); // no field: nothing happens
}

TB_WIDGET_TEST_MAIN(TestControls)
#include "tst_controls.moc"
