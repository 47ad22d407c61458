#include "TestMain.h"
#include "XSession.h"

#include "i18n/CurrencyRate.h"
#include "model/DataFile.h"
#include "model/Preferences.h"
#include "model/Store.h"

#include <QFile>
#include <QProcess>

// End to end in a real X server (tools/xsession.sh): a project is created through the editor
// sheet with the keyboard alone and lands first in the data file. The outer test starts the
// session and runs this same program inside it.
namespace {
using XSession::run;
using XSession::screenshot;
using XSession::windowNamed;
using XSession::xdotool;

QString firstProjectName(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const std::optional<AppData> doc = DataFile::decode(f.readAll());
    if (!doc || doc->projects.isEmpty())
        return {};
    return doc->projects.first().name;
}
} // namespace

class TestEditorX11 : public QObject
{
    Q_OBJECT

private slots:
    void inRealXServer() { XSession::runInside(this); }

    void insideXServer()
    {
        if (!XSession::inside())
            QSKIP("runs inside tools/xsession.sh");
        XSession::quietFirstStart();
        // On a Turkish system the interface is Turkish too, and the fee is typed in lira with a
        // decimal comma, as such a user types it.
        const bool turkish = QLocale::system().language() == QLocale::Turkish;
        if (turkish)
            Preferences::setText(Preferences::kLanguage, QStringLiteral("tr"));
        const QString newProject = turkish ? QStringLiteral("Yeni Proje") : QStringLiteral("New Project");
        const QString dataFile = Store::defaultDataFolder() + QStringLiteral("/tallybrook.json");
        QVERIFY(dataFile.startsWith(TestEnv::home().path()));

        QProcess app;
        QVERIFY(XSession::startApp(app));
        QString window;
        QTRY_VERIFY_WITH_TIMEOUT(!(window = windowNamed(QStringLiteral("Tallybrook"))).isEmpty(),
                                 XSession::kAnswerMs);
        // The first start writes the sample studio.
        QTRY_VERIFY_WITH_TIMEOUT(!firstProjectName(dataFile).isEmpty(), XSession::kAnswerMs);
        QVERIFY(firstProjectName(dataFile) != QStringLiteral("Keyboard Poster"));

        xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), window});
        xdotool({QStringLiteral("key"), QStringLiteral("ctrl+n")});
        QString sheet;
        QTRY_VERIFY_WITH_TIMEOUT(!(sheet = windowNamed(newProject)).isEmpty(), XSession::kAnswerMs);
        QTRY_COMPARE_WITH_TIMEOUT(run(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")}),
                                  QString::number(sheet.toULongLong()), XSession::kAnswerMs);

        // Name, then past the client and category the directories filled in, to the fee.
        xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"),
                 QStringLiteral("Keyboard Poster")});
        xdotool({QStringLiteral("key"), QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Tab")});
        xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"),
                 turkish ? QStringLiteral("2.500,50") : QStringLiteral("2500")});
        QTest::qWait(200);
        screenshot(QStringLiteral("xsession-editor.png"));
        xdotool({QStringLiteral("key"), QStringLiteral("Return")});

        QTRY_VERIFY_WITH_TIMEOUT(windowNamed(newProject).isEmpty(), XSession::kAnswerMs);
        QTRY_COMPARE_WITH_TIMEOUT(firstProjectName(dataFile), QStringLiteral("Keyboard Poster"),
                                  XSession::kAnswerMs);
        QFile f(dataFile);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const AppData doc = DataFile::decode(f.readAll()).value_or(AppData{});
        // Lira are stored as dollars at the built-in rate (the test has no network).
        QCOMPARE(doc.projects.first().fee, turkish ? 2500.5 / CurrencyRate::kInitialUsdToTry : 2500.0);
        QCOMPARE(doc.projects.first().client, doc.clients.value(0));
        QCOMPARE(doc.projects.first().status, Status::ongoing);

        XSession::quitApp(app);
    }
};

TB_WIDGET_TEST_MAIN(TestEditorX11)
#include "tst_editor_x11.moc"
