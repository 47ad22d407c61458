// End to end in a real X server (tools/xsession.sh): a card is dragged with the pointer from one
// column to another, and the project's new status, with the payment days a move into Pending
// sets, reaches the data file after the debounced save. Then the same by the keyboard alone.
// The outer test starts the session and runs this same program inside it.
#include "TestMain.h"
#include "TestProjects.h"
#include "XSession.h"

#include "model/DataFile.h"
#include "model/Preferences.h"
#include "model/Store.h"

#include <QFile>
#include <QImage>
#include <QProcess>

namespace {
using XSession::run;
using XSession::screenshot;
using XSession::windowNamed;
using XSession::xdotool;

// The window's client area in screen coordinates.
QRect geometryOf(const QString& window)
{
    QRect r;
    const QStringList lines = run(QStringLiteral("xdotool"),
                                  {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window})
                                  .split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const QString key = line.section(QLatin1Char('='), 0, 0);
        const int value = line.section(QLatin1Char('='), 1).toInt();
        if (key == QLatin1String("X"))
            r.moveLeft(value);
        else if (key == QLatin1String("Y"))
            r.moveTop(value);
        else if (key == QLatin1String("WIDTH"))
            r.setWidth(value);
        else if (key == QLatin1String("HEIGHT"))
            r.setHeight(value);
    }
    return r;
}

std::optional<Project> projectIn(const QString& file, const QUuid& id)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const std::optional<AppData> doc = DataFile::decode(f.readAll());
    if (!doc)
        return std::nullopt;
    for (const Project& p : doc->projects) {
        if (p.id == id)
            return p;
    }
    return std::nullopt;
}

std::optional<Status> statusIn(const QString& file, const QUuid& id)
{
    const std::optional<Project> p = projectIn(file, id);
    return p ? std::optional<Status>(p->status) : std::nullopt;
}

Project project(const QString& name, Status status, double fee)
{
    return TestProjects::make(name, fee, TestProjects::noon(QDate(Store::currentYear(), 2, 3)), status,
                              QStringLiteral("Acme"), QStringLiteral("Branding"));
}

// Starts the program and brings its window forward: the window's client area, empty when it
// never came.
QRect openWindow(QProcess& app)
{
    if (!XSession::startApp(app))
        return {};
    QString window;
    if (!QTest::qWaitFor(
            [&window] { return !(window = windowNamed(QStringLiteral("Tallybrook"))).isEmpty(); }, 15000))
        return {};
    xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), window});
    QTest::qWait(500);
    return geometryOf(window);
}

// A paid card, twelve pending ones and `last` alone in the last column, written as the data file.
bool writeBoard(const QString& dataFile, const Project& last)
{
    AppData doc;
    doc.projects = {project(QStringLiteral("Paid one"), Status::paid, 900), last};
    for (int i = 0; i < 12; ++i)
        doc.projects << project(QStringLiteral("Pending %1").arg(i), Status::pending, 100 + i);
    doc.clients = {QStringLiteral("Acme")};
    doc.categories = {QStringLiteral("Branding")};
    if (!QDir().mkpath(QFileInfo(dataFile).path()))
        return false;
    QFile f(dataFile);
    return f.open(QIODevice::WriteOnly) && f.write(*DataFile::encode(doc)) > 0;
}

// The top of the cards: the first white run down the middle of the last column's left third,
// below the summary panel and the controls; -1 when none is found.
int firstCardY(const QImage& screen, const QRect& client, int x)
{
    int whiteRun = 0;
    for (int y = client.top() + 360; y < client.bottom(); ++y) {
        whiteRun = screen.pixel(x, y) == qRgb(255, 255, 255) ? whiteRun + 1 : 0;
        if (whiteRun == 20)
            return y;
    }
    return -1;
}

QImage grabScreen()
{
    const QString shot = TestEnv::home().path() + QStringLiteral("/screen.png");
    run(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), shot});
    return QImage(shot);
}

// The pixels of the keyboard's focus ring (the brand green at 60 % over a white card) in a band.
int ringPixels(const QImage& screen, const QRect& band)
{
    int found = 0;
    for (int y = band.top(); y <= band.bottom(); ++y) {
        for (int x = band.left(); x <= band.right(); ++x) {
            const QColor c = screen.pixelColor(x, y);
            if (std::abs(c.red() - 102) < 14 && std::abs(c.green() - 193) < 14 &&
                std::abs(c.blue() - 162) < 14)
                ++found;
        }
    }
    return found;
}
} // namespace

class TestBoardX11 : public QObject
{
    Q_OBJECT

private slots:
    void inRealXServer() { XSession::runInside(this); }
    void keysInRealXServer()
    {
        XSession::runInside(this, {"xvfb-run", "openbox", "tint2", "xdotool", "xprop"}, "keysInsideXServer");
    }

    void insideXServer()
    {
        if (!XSession::inside())
            QSKIP("runs inside tools/xsession.sh");
        XSession::quietFirstStart();
        const QString dataFile = Store::defaultDataFolder() + QStringLiteral("/tallybrook.json");
        QVERIFY(dataFile.startsWith(TestEnv::home().path()));

        // One card alone in the last column; the middle column is the drop target, long enough to
        // reach below the window.
        const Project card = project(QStringLiteral("Drag me"), Status::ongoing, 1200);
        QVERIFY(writeBoard(dataFile, card));

        QProcess app;
        const QRect client = openWindow(app);
        QVERIFY(client.width() > 1000);
        screenshot(QStringLiteral("xsession-board.png"));

        // Find the card on screen: the first white run down the middle of the last column's
        // left third, below the summary panel and the controls.
        const int columnWidth = (client.width() - 64 - 48) / 3;
        const int cardX = client.left() + 32 + 2 * (columnWidth + 24) + columnWidth / 3;
        const QString shot = TestEnv::home().path() + QStringLiteral("/screen.png");
        const int cardY = firstCardY(grabScreen(), client, cardX);
        QVERIFY2(cardY > 0, "the card was not found on screen");
        const QPoint from(cardX, cardY);
        const QPoint to(client.left() + 32 + columnWidth + 24 + columnWidth / 2, cardY + 160);

        auto move = [](const QPoint& at) {
            xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y())});
            QTest::qWait(40);
        };
        move(from);
        xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
        QTest::qWait(100);
        for (int step = 1; step <= 12; ++step)
            move(from + (to - from) * step / 12);
        QTest::qWait(200);
        screenshot(QStringLiteral("xsession-board-drag.png"));
        xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});

        // The move is written by the debounced save.
        QTRY_COMPARE_WITH_TIMEOUT(statusIn(dataFile, card.id), std::optional<Status>(Status::pending),
                                  XSession::kAnswerMs);
        // Pending from today, due after the default 30 days' terms.
        const std::optional<Project> moved = projectIn(dataFile, card.id);
        QVERIFY(moved);
        QCOMPARE(moved->pendingSince, QDate::currentDate());
        QCOMPARE(moved->dueDate, QDate::currentDate().addDays(30));
        QVERIFY(!moved->paidOn.isValid());
        QFile written(dataFile);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray bytes = written.readAll();
        QVERIFY(bytes.contains("\"pendingSince\""));
        QVERIFY(bytes.contains("\"dueDate\""));
        QTest::qWait(200);
        screenshot(QStringLiteral("xsession-board-after.png"));

        // The trash, found by its rose outline at the end of the controls row.
        run(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), shot});
        QImage top(shot);
        QPoint trash;
        int found = 0;
        for (int y = client.top() + 120; y < client.top() + 480; ++y) {
            for (int x = client.right() - 140; x < client.right() - 8; ++x) {
                const QColor c = top.pixelColor(x, y);
                if (c.red() > 200 && c.green() < 150 && c.blue() < 160 && c.red() - c.green() > 90) {
                    trash += QPoint(x, y);
                    ++found;
                }
            }
        }
        QVERIFY2(found > 20, "the trash was not found on screen");
        trash /= found;

        // Scrolled to the end of the page, the trash is out of sight above.
        move(client.center());
        xdotool({QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("30"),
                 QStringLiteral("--delay"), QStringLiteral("10"), QStringLiteral("5")});
        QTest::qWait(600);
        run(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), shot});
        const QImage scrolled(shot);
        QVERIFY(scrolled != top);
        // A card low in the middle column: the last white run from the bottom.
        const int middleX = client.left() + 32 + columnWidth + 24 + columnWidth / 3;
        int lowCardY = -1;
        int whiteRun = 0;
        for (int y = client.bottom() - 60; y > client.top() + 200 && lowCardY < 0; --y) {
            whiteRun = scrolled.pixel(middleX, y) == qRgb(255, 255, 255) ? whiteRun + 1 : 0;
            if (whiteRun == 20)
                lowCardY = y + 10;
        }
        QVERIFY2(lowCardY > 0, "no card found low on the scrolled page");
        // Dragged up to the page's top edge and held there, then over the trash.
        const QPoint low(middleX, lowCardY);
        // Over the header, above the page: the page scrolls up as fast as it goes.
        const QPoint edge(middleX, client.top() + 90);
        move(low);
        xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
        QTest::qWait(100);
        for (int step = 1; step <= 10; ++step)
            move(low + (edge - low) * step / 10);
        QTest::qWait(2500);
        for (int step = 1; step <= 8; ++step)
            move(edge + (trash - edge) * step / 8);
        QTest::qWait(300);
        screenshot(QStringLiteral("xsession-board-trash.png"));
        xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
        // One pending project fewer in the file: the card reached the trash.
        const auto pendingCount = [&dataFile] {
            QFile f(dataFile);
            if (!f.open(QIODevice::ReadOnly))
                return -1;
            const std::optional<AppData> d = DataFile::decode(f.readAll());
            if (!d)
                return -1;
            return int(std::count_if(d->projects.begin(), d->projects.end(),
                                     [](const Project& p) { return p.status == Status::pending; }));
        };
        QTRY_COMPARE_WITH_TIMEOUT(pendingCount(), 12, XSession::kAnswerMs);

        XSession::quitApp(app);
    }

    void keysInsideXServer()
    {
        if (!XSession::inside())
            QSKIP("runs inside tools/xsession.sh");
        XSession::quietFirstStart();
        const QString dataFile = Store::defaultDataFolder() + QStringLiteral("/tallybrook.json");
        const Project card = project(QStringLiteral("Carry me"), Status::ongoing, 1200);
        QVERIFY(writeBoard(dataFile, card));

        QProcess app;
        const QRect client = openWindow(app);
        QVERIFY(client.width() > 1000);
        const int columnWidth = (client.width() - 64 - 48) / 3;
        const auto columnX = [&](int i) { return client.left() + 32 + i * (columnWidth + 24); };
        const int cardY = firstCardY(grabScreen(), client, columnX(2) + columnWidth / 3);
        QVERIFY2(cardY > 0, "the cards were not found on screen");
        // A band across a column through the first card, below the column's header.
        const auto band = [&](int i) { return QRect(columnX(i), cardY, columnWidth, 40); };
        const auto key = [](const QString& name) {
            xdotool({QStringLiteral("key"), name});
            QTest::qWait(120);
        };

        // Tab until the keyboard reaches the first column's cards: its card shows the ring.
        bool reached = false;
        for (int i = 0; i < 60 && !reached; ++i) {
            key(QStringLiteral("Tab"));
            reached = ringPixels(grabScreen(), band(0)) > 20;
        }
        QVERIFY2(reached, "Tab never brought the keyboard to the cards");
        // Right twice: through Pending to the card alone in the last column.
        key(QStringLiteral("Right"));
        key(QStringLiteral("Right"));
        // Painting may lag behind the keys on a busy machine.
        QTRY_VERIFY_WITH_TIMEOUT(ringPixels(grabScreen(), band(2)) > 20, 3000);
        QCOMPARE(ringPixels(grabScreen(), band(0)), 0);

        // Ctrl+Left carries it into Pending; the save writes it with its payment days.
        key(QStringLiteral("ctrl+Left"));
        QTRY_COMPARE_WITH_TIMEOUT(statusIn(dataFile, card.id), std::optional<Status>(Status::pending),
                                  XSession::kAnswerMs);
        const std::optional<Project> moved = projectIn(dataFile, card.id);
        QVERIFY(moved);
        QCOMPARE(moved->pendingSince, QDate::currentDate());
        QCOMPARE(moved->dueDate, QDate::currentDate().addDays(30));
        // The keyboard went with it: the ring is in the middle column now, not in the emptied one.
        const auto ringInPending = [&] {
            const QImage screen = grabScreen();
            int ring = 0;
            for (int y = cardY; y < client.bottom() - 40 && ring == 0; y += 40)
                ring = ringPixels(screen, QRect(columnX(1), y, columnWidth, 40));
            return ring > 20 && ringPixels(screen, band(2)) == 0;
        };
        QTRY_VERIFY_WITH_TIMEOUT(ringInPending(), 3000);
        screenshot(QStringLiteral("xsession-board-keys.png"));

        // Delete deletes it; Ctrl+Z brings it back.
        key(QStringLiteral("Delete"));
        QTRY_VERIFY_WITH_TIMEOUT(!projectIn(dataFile, card.id) && QFileInfo(dataFile).size() > 0,
                                 XSession::kAnswerMs);
        key(QStringLiteral("ctrl+z"));
        QTRY_COMPARE_WITH_TIMEOUT(statusIn(dataFile, card.id), std::optional<Status>(Status::pending),
                                  XSession::kAnswerMs);

        // Ctrl+/ lists the keys in a window of its own; Escape closes it.
        key(QStringLiteral("ctrl+slash"));
        QString list;
        QTRY_VERIFY_WITH_TIMEOUT(!(list = windowNamed(QStringLiteral("Keyboard Shortcuts"))).isEmpty(),
                                 XSession::kAnswerMs);
        QTest::qWait(300);
        screenshot(QStringLiteral("xsession-shortcuts.png"));
        xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), list});
        key(QStringLiteral("Escape"));
        QTRY_VERIFY_WITH_TIMEOUT(windowNamed(QStringLiteral("Keyboard Shortcuts")).isEmpty(),
                                 XSession::kAnswerMs);

        XSession::quitApp(app);
    }
};

TB_WIDGET_TEST_MAIN(TestBoardX11)
#include "tst_board_x11.moc"
