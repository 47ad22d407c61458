#include "TestMain.h"

#include "i18n/L10n.h"
#include "model/Preferences.h"
#include "model/Store.h"

#include <QSettings>
#include <QSignalSpy>

class TestLanguage final : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    AppLanguage startWith(const std::optional<QString>& stored)
    {
        QSettings settings(QStringLiteral("Tallybrook"), QStringLiteral("Tallybrook"));
        if (stored)
            settings.setValue(QStringLiteral("app_language"), *stored);
        else
            settings.remove(QStringLiteral("app_language"));
        settings.sync();
        Store store(m_dir.path(), true);
        return store.language();
    }

private slots:
    void selectionRule()
    {
        QCOMPARE(L10n::tr(AppLanguage::en, QStringLiteral("Board"), QStringLiteral("Pano")),
                 QStringLiteral("Board"));
        QCOMPARE(L10n::tr(AppLanguage::tr, QStringLiteral("Board"), QStringLiteral("Pano")),
                 QStringLiteral("Pano"));
        QCOMPARE(AppLanguageInfo::label(AppLanguage::tr), QStringLiteral("Türkçe"));
        QCOMPARE(AppLanguageInfo::fromRaw(QStringLiteral("TR")), std::nullopt);
        QCOMPARE(AppLanguageInfo::fromRaw(QStringLiteral("tr")), std::optional<AppLanguage>(AppLanguage::tr));
    }

    void upperCasing()
    {
        QCOMPARE(L10n::upper(AppLanguage::tr, QStringLiteral("müşteri")), QStringLiteral("MÜŞTERİ"));
        QCOMPARE(L10n::upper(AppLanguage::en, QStringLiteral("client list")), QStringLiteral("CLIENT LIST"));
        QCOMPARE(L10n::upper(AppLanguage::tr, QStringLiteral("ılık")), QStringLiteral("ILIK"));
    }

    void startingLanguage()
    {
        QCOMPARE(startWith(std::nullopt), AppLanguage::en);
        QCOMPARE(startWith(QStringLiteral("TR")), AppLanguage::en);
        QCOMPARE(startWith(QStringLiteral("tr ")), AppLanguage::en);
        QCOMPARE(startWith(QStringLiteral("de")), AppLanguage::en);
        QCOMPARE(startWith(QStringLiteral("tr")), AppLanguage::tr);
    }

    void choiceIsStoredEveryTime()
    {
        QSettings(QStringLiteral("Tallybrook"), QStringLiteral("Tallybrook"))
            .remove(QStringLiteral("app_language"));
        {
            Store store(m_dir.path(), false);
            QSignalSpy changed(&store, &Store::languageChanged);
            store.setLanguage(AppLanguage::tr);
            QCOMPARE(changed.size(), 1);
            QCOMPARE(Preferences::text(Preferences::kLanguage), std::optional<QString>(QStringLiteral("tr")));
            // The same language again rewrites the preference but notifies nobody.
            Preferences::setText(Preferences::kLanguage, QStringLiteral("junk"));
            store.setLanguage(AppLanguage::tr);
            QCOMPARE(changed.size(), 1);
            QCOMPARE(Preferences::text(Preferences::kLanguage), std::optional<QString>(QStringLiteral("tr")));
        }
        Store next(m_dir.path(), false);
        QCOMPARE(next.language(), AppLanguage::tr);
        next.setLanguage(AppLanguage::en);
        QCOMPARE(Preferences::text(Preferences::kLanguage), std::optional<QString>(QStringLiteral("en")));
    }

    void booleanPreferences()
    {
        QSettings settings(QStringLiteral("Tallybrook"), QStringLiteral("Tallybrook"));
        settings.setValue(QStringLiteral("showInDock"), QStringLiteral("yes"));
        settings.sync();
        QVERIFY(!Preferences::boolean(Preferences::kShowInDock));
        QCOMPARE(Preferences::boolean(Preferences::kShowInDock, true), true);
        Preferences::setBoolean(Preferences::kShowInDock, false);
        QCOMPARE(Preferences::boolean(Preferences::kShowInDock), std::optional<bool>(false));
        QCOMPARE(Preferences::boolean(Preferences::kShowInDock, true), false);
    }

    void currencyCodes()
    {
        QStringList codes;
        for (const Currency::Code& c : Currency::all())
            codes << c.code;
        QCOMPARE(codes, (QStringList{"$", "CA$", "€", "£", "₺", "¥"}));
        QCOMPARE(Currency::all().at(1).label, QStringLiteral("CA$ (CAD)"));
    }
};

TB_TEST_MAIN(TestLanguage)
#include "tst_language.moc"
