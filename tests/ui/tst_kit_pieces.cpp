#include "TestMain.h"

#include "model/Store.h"
#include "ui/Animations.h"
#include "ui/CreamScroller.h"
#include "ui/LogoView.h"
#include "ui/Theme.h"
#include "ui/YearMenu.h"

#include <QEnterEvent>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QSignalSpy>
#include <memory>

namespace {
QImage render(QWidget& w)
{
    QImage img(w.size(), QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    w.render(&img, QPoint(), QRegion(), QWidget::DrawChildren);
    return img;
}

QColor at(const QImage& img, int x, int y)
{
    return QColor::fromRgba(img.pixel(x, y));
}

QAction* actionFor(QMenu* menu, int year)
{
    for (QAction* a : menu->actions())
        if (a->data().toInt() == year)
            return a;
    return nullptr;
}

// A scroll area whose page is taller than it is.
std::unique_ptr<QScrollArea> tallArea()
{
    auto area = std::make_unique<QScrollArea>();
    auto* content = new QLabel(QStringLiteral("line\n").repeated(200));
    area->setWidget(content);
    area->resize(200, 240);
    return area;
}
} // namespace

class TestKitPieces : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void yearMenuFace();
    void yearMenuSingleYear();
    void yearMenuChoosing();
    void logoImage();
    void logoFallback();
    void knobGeometry();
    void scrollerDrawsOnlyTheKnob();
    void scrollerHover();
    void scrollerDrag();
    void creamScrollerInstallsOnce();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Store> m_store;
};

void TestKitPieces::init()
{
    Animations::setEnabled(false);
    m_dir = std::make_unique<QTemporaryDir>();
    m_store = std::make_unique<Store>(m_dir->path(), true);
}

void TestKitPieces::yearMenuFace()
{
    // A grouping locale must not put separators into the year.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    m_store->setActiveYear(12026);
    YearMenu menu(*m_store);
    QCOMPARE(menu.text(), QStringLiteral("12026"));
    QCOMPARE(menu.accessibleName(), QStringLiteral("Year 12026"));
    m_store->setLanguage(AppLanguage::tr);
    m_store->setActiveYear(2025);
    QCOMPARE(menu.text(), QStringLiteral("2025"));
    QCOMPARE(menu.accessibleName(), QStringLiteral("Year 2025")); // English in both languages
    TestEnv::settle();

    const QFontMetrics fm(Theme::font(12, QFont::Bold));
    QCOMPARE(menu.sizeHint(),
             QSize(fm.horizontalAdvance(QStringLiteral("2025")) + 6 + 9 + 28, fm.height() + 10));
    menu.resize(menu.sizeHint());
    const QImage img = render(menu);
    QCOMPARE(at(img, menu.width() / 2, 0).rgb(), Theme::hex(QStringLiteral("#E5E0D5")).rgb());
    QCOMPARE(at(img, 8, menu.height() / 2).rgb(), QColor(Qt::white).rgb());
    QCOMPARE(at(img, 0, 0).alpha(), 0);
    // The chevron is drawn in muted right of the year.
    bool chevron = false;
    for (int x = menu.width() - 14 - 9; x < menu.width() - 14; ++x)
        for (int y = 0; y < menu.height(); ++y)
            chevron |= at(img, x, y).alpha() == 255 &&
                       qAbs(at(img, x, y).red() - Theme::muted().red()) < 30 && at(img, x, y).red() < 200;
    QVERIFY(chevron);
}

void TestKitPieces::yearMenuSingleYear()
{
    m_store->eraseAll();
    m_store->setActiveYear(Store::currentYear());
    QCOMPARE(m_store->years().size(), 1);
    YearMenu menu(*m_store);
    emit menu.popupMenu()->aboutToShow();
    const QList<QAction*> actions = menu.popupMenu()->actions();
    QCOMPARE(actions.size(), 1);
    QCOMPARE(actions[0]->text(), QString::number(Store::currentYear()));
    QVERIFY(actions[0]->isChecked());
    QCOMPARE(menu.menu(), menu.popupMenu());
}

void TestKitPieces::yearMenuChoosing()
{
    const QVector<int> years = m_store->years();
    QVERIFY(years.size() >= 2);
    m_store->setActiveYear(years[0]);
    YearMenu menu(*m_store);
    emit menu.popupMenu()->aboutToShow();
    // Items in the store's order.
    QStringList titles;
    for (QAction* a : menu.popupMenu()->actions())
        titles << a->text();
    QStringList expected;
    for (int y : years)
        expected << QString::number(y);
    QCOMPARE(titles, expected);

    QSignalSpy yearSpy(m_store.get(), &Store::activeYearChanged);
    QSignalSpy dataSpy(m_store.get(), &Store::dataChanged);
    actionFor(menu.popupMenu(), years[0])->trigger();
    QCOMPARE(yearSpy.count(), 0);
    QCOMPARE(dataSpy.count(), 0);

    actionFor(menu.popupMenu(), years[1])->trigger();
    QCOMPARE(yearSpy.count(), 1);
    QCOMPARE(m_store->activeYear(), years[1]);
    QCOMPARE(menu.text(), QString::number(years[1]));
    QCOMPARE(dataSpy.count(), 0); // choosing a year is interface state, not a document change

    // The menu is rebuilt from the store each time it opens.
    m_store->eraseAll();
    emit menu.popupMenu()->aboutToShow();
    QCOMPARE(menu.popupMenu()->actions().size(), m_store->years().size());
}

void TestKitPieces::logoImage()
{
    const QImage& image = LogoView::sharedImage();
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), QSize(300, 47));
    QVERIFY(image.hasAlphaChannel());
    QCOMPARE(&LogoView::sharedImage(), &image); // built once, shared

    LogoView logo(132);
    QVERIFY(logo.hasImage());
    QCOMPARE(logo.sizeHint(), QSize(132, 21));
    LogoView panelLogo(110);
    QCOMPARE(panelLogo.sizeHint(), QSize(110, 17));

    logo.resize(logo.sizeHint());
    const QImage img = render(logo);
    int opaque = 0;
    int transparent = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const int alpha = qAlpha(img.pixel(x, y));
            opaque += alpha > 200;
            transparent += alpha == 0;
        }
    QVERIFY(opaque > 200);
    QVERIFY(transparent > 200);
}

void TestKitPieces::logoFallback()
{
    LogoView logo(132, QImage());
    QVERIFY(!logo.hasImage());
    const QFontMetrics fm(Theme::font(22, QFont::Bold, -0.5));
    QCOMPARE(logo.sizeHint().height(), fm.height());
    QVERIFY(logo.sizeHint().width() >= fm.horizontalAdvance(QStringLiteral("Tallybrook")));
    logo.resize(logo.sizeHint());
    const QImage img = render(logo);
    int black = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = at(img, x, y);
            if (c.alpha() == 255) {
                QCOMPARE(c.rgb(), QColor(Qt::black).rgb());
                ++black;
            }
        }
    QVERIFY(black > 50);
    // Tighter tracking than the plain bold word.
    QVERIFY(logo.sizeHint().width() <
            QFontMetrics(Theme::font(22, QFont::Bold)).horizontalAdvance(QStringLiteral("Tallybrook")));
}

void TestKitPieces::knobGeometry()
{
    QCOMPARE(CreamScroller::knobBar(QRectF(0, 0, 8, 100), Qt::Vertical), QRectF(1, 2, 6, 96));
    QCOMPARE(CreamScroller::knobBar(QRectF(2, 30, 12, 50), Qt::Vertical), QRectF(5, 32, 6, 46));
    QCOMPARE(CreamScroller::knobBar(QRectF(10, 0, 100, 8), Qt::Horizontal), QRectF(12, 1, 96, 6));
    QVERIFY(CreamScroller::knobBar(QRectF(0, 0, 8, 0), Qt::Vertical).isEmpty());
    QVERIFY(CreamScroller::knobBar(QRectF(0, 0, 0, 100), Qt::Vertical).isEmpty());
    QVERIFY(CreamScroller::knobBar(QRectF(0, 0, 8, -5), Qt::Vertical).isEmpty());
    QCOMPARE(CreamScroller::knobColor(false), QColor(213, 206, 191));
    QCOMPARE(CreamScroller::knobColor(true), QColor(184, 176, 160));
}

void TestKitPieces::scrollerDrawsOnlyTheKnob()
{
    auto area = tallArea();
    creamScroller(area.get());
    area->show();
    QVERIFY(QTest::qWaitForWindowExposed(area.get()));
    auto* bar = qobject_cast<CreamScroller*>(area->verticalScrollBar());
    QVERIFY(bar);
    QCOMPARE(bar->width(), 12);
    QVERIFY(!bar->hovering());

    const QRectF knob = bar->knobRect();
    QCOMPARE(knob.top(), 0.0);
    QCOMPARE(knob.width(), 12.0);
    QVERIFY(knob.height() >= 24 && knob.height() < bar->height() / 2);
    QImage img = render(*bar);
    const int midX = 6;
    QCOMPARE(at(img, midX, int(knob.center().y())).rgb(), CreamScroller::knobColor(false).rgb());
    QCOMPARE(at(img, midX, 0).alpha(), 0);                   // 2 points of air above the bar
    QCOMPARE(at(img, 1, int(knob.center().y())).alpha(), 0); // 6 wide: nothing at the sides
    QCOMPARE(at(img, midX, bar->height() - 3).alpha(), 0);   // no track

    bar->setValue(bar->maximum());
    QCOMPARE(int(bar->knobRect().bottom()), bar->height());
    img = render(*bar);
    QCOMPARE(at(img, midX, bar->height() - 10).rgb(), CreamScroller::knobColor(false).rgb());

    // Nothing to scroll: nothing drawn.
    bar->setRange(0, 0);
    img = render(*bar);
    for (int y = 0; y < img.height(); ++y)
        QCOMPARE(at(img, midX, y).alpha(), 0);
}

void TestKitPieces::scrollerHover()
{
    auto area = tallArea();
    creamScroller(area.get());
    area->show();
    QVERIFY(QTest::qWaitForWindowExposed(area.get()));
    auto* bar = qobject_cast<CreamScroller*>(area->verticalScrollBar());
    const QPoint inside(6, int(bar->knobRect().center().y()));

    QEnterEvent enter(inside, bar->mapTo(bar->window(), inside), bar->mapToGlobal(inside));
    QApplication::sendEvent(bar, &enter);
    QVERIFY(bar->hovering());
    QImage img = render(*bar);
    QCOMPARE(at(img, inside.x(), inside.y()).rgb(), CreamScroller::knobColor(true).rgb());

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(bar, &leave);
    QVERIFY(!bar->hovering());
    img = render(*bar);
    QCOMPARE(at(img, inside.x(), inside.y()).rgb(), CreamScroller::knobColor(false).rgb());
}

void TestKitPieces::scrollerDrag()
{
    auto area = tallArea();
    creamScroller(area.get());
    area->show();
    QVERIFY(QTest::qWaitForWindowExposed(area.get()));
    auto* bar = qobject_cast<CreamScroller*>(area->verticalScrollBar());
    QCOMPARE(bar->value(), 0);

    // Dragging the drawn knob moves the page: hit testing matches the drawing.
    const QPoint grip(6, int(bar->knobRect().center().y()));
    QTest::mousePress(bar, Qt::LeftButton, {}, grip);
    QMouseEvent move(QEvent::MouseMove, QPointF(grip + QPoint(0, 60)),
                     bar->mapToGlobal(QPointF(grip + QPoint(0, 60))), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(bar, &move);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, grip + QPoint(0, 60));
    QVERIFY(bar->value() > 0);

    // A click on the empty part below the knob goes there.
    const int before = bar->value();
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(6, bar->height() - 2));
    QVERIFY(bar->value() > before);
}

void TestKitPieces::creamScrollerInstallsOnce()
{
    auto area = tallArea();
    area->setFrameShape(QFrame::Box);
    creamScroller(area.get());
    QScrollBar* first = area->verticalScrollBar();
    QVERIFY(qobject_cast<CreamScroller*>(first));
    QVERIFY(!area->viewport()->autoFillBackground());
    QCOMPARE(area->frameShape(), QFrame::NoFrame);

    // Rebuilding the page calls it again: the same bar stays, nothing else is touched.
    first->setValue(17);
    area->setFrameShape(QFrame::Box);
    creamScroller(area.get());
    QCOMPARE(area->verticalScrollBar(), first);
    QCOMPARE(area->verticalScrollBar()->value(), 17);
    QCOMPARE(area->frameShape(), QFrame::Box);
    QCOMPARE(area->findChildren<CreamScroller*>().size(), 1);

    creamScroller(nullptr); // no area: nothing to do
}

TB_WIDGET_TEST_MAIN(TestKitPieces)
#include "tst_kit_pieces.moc"
