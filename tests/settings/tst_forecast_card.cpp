#include "SettingsTestUtil.h"
#include "TestMain.h"

#include "settings/ForecastCard.h"
#include "settings/SettingRow.h"
#include "settings/SettingsView.h"
#include "ui/Animations.h"

#include <QLabel>
#include <QLineEdit>
#include <QLocale>

// The forecast weights read and written under every system locale the tests run in.
class TestForecastCard : public QObject
{
    Q_OBJECT

private:
    SettingsFixture m_f;

    // Types `text` over the field's content and commits it with Return.
    static void enter(QLineEdit* field, const QString& text)
    {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }

private slots:
    void init()
    {
        Animations::setEnabled(false);
        m_f.reset();
    }

    void weightsClampStoreAndSurviveARestart()
    {
        ForecastCard card(*m_f.store);
        card.show();
        QVERIFY(QTest::qWaitForWindowExposed(&card));
        QLineEdit* pending = card.pendingField();
        QLineEdit* ongoing = card.ongoingField();
        QCOMPARE(pending->text(), QStringLiteral("90"));
        QCOMPARE(ongoing->text(), QStringLiteral("50"));
        QCOMPARE(pending->accessibleName(), QStringLiteral("Forecast weight of Pending (%)"));
        QCOMPARE(ongoing->accessibleName(), QStringLiteral("Forecast weight of In the Works (%)"));
        // Both reached with Tab, in reading order.
        QVERIFY(pending->focusPolicy() & Qt::TabFocus);
        pending->setFocus();
        QTest::keyClick(pending, Qt::Key_Tab);
        QVERIFY(ongoing->hasFocus());

        enter(pending, QStringLiteral("75"));
        QCOMPARE(m_f.store->forecastPendingPercent(), 75.0);
        QCOMPARE(m_f.store->forecastOngoingPercent(), 50.0);
        // Out of range: clamped, and the field shows what is stored.
        enter(ongoing, QStringLiteral("150"));
        QCOMPARE(m_f.store->forecastOngoingPercent(), 100.0);
        QCOMPARE(ongoing->text(), QStringLiteral("100"));
        enter(pending, QStringLiteral("-5"));
        QCOMPARE(m_f.store->forecastPendingPercent(), 0.0);
        QCOMPARE(pending->text(), QStringLiteral("0"));

        // A decimal in the system's own format, and with the other mark.
        const QString mark = QLocale().decimalPoint();
        enter(ongoing, QStringLiteral("12") + mark + QStringLiteral("5"));
        QCOMPARE(m_f.store->forecastOngoingPercent(), 12.5);
        QCOMPARE(ongoing->text(), QLocale().toString(12.5));
        enter(pending, mark == QStringLiteral(".") ? QStringLiteral("33,5") : QStringLiteral("33.5"));
        QCOMPARE(m_f.store->forecastPendingPercent(), 33.5);

        // Text that is no number changes nothing, says so, and puts the stored weight back.
        m_f.store->ui().setToast(std::nullopt);
        enter(pending, QStringLiteral("abc"));
        QCOMPARE(m_f.store->forecastPendingPercent(), 33.5);
        QCOMPARE(pending->text(), QLocale().toString(33.5));
        QCOMPARE(m_f.toast(), QStringLiteral("Enter a percentage from 0 to 100."));
        // Leaving the field unchanged says nothing.
        m_f.store->ui().setToast(std::nullopt);
        enter(pending, QLocale().toString(33.5));
        QVERIFY(m_f.toast().isEmpty());

        // Another path (a reload) writes the store: the fields follow, but typing still under way
        // is left alone until it is committed.
        QTest::keyClicks(pending, QStringLiteral("7"));
        m_f.store->setForecastWeights(80, 40);
        QCOMPARE(pending->text(), QLocale().toString(33.5) + QStringLiteral("7"));
        QCOMPARE(ongoing->text(), QStringLiteral("40"));
        QTest::keyClick(pending, Qt::Key_Return);
        QCOMPARE(m_f.store->forecastPendingPercent(), 33.57);
        // Committed, the field still focused follows the store again.
        QVERIFY(pending->hasFocus());
        m_f.store->setForecastWeights(80, 45);
        QCOMPARE(pending->text(), QStringLiteral("80"));
        QCOMPARE(ongoing->text(), QStringLiteral("45"));

        m_f.store->setLanguage(AppLanguage::tr);
        const auto labels = card.findChildren<QLabel*>();
        QStringList texts;
        for (const QLabel* l : labels)
            texts << l->text();
        QVERIFY(texts.contains(QStringLiteral("Yıl Sonu Tahmini")));
        QVERIFY(texts.contains(QStringLiteral("Ödenecek için tahmin ağırlığı")));
        QCOMPARE(ongoing->accessibleName(), QStringLiteral("Devam Ediyor için tahmin ağırlığı (%)"));
        m_f.store->ui().setToast(std::nullopt);
        enter(ongoing, QStringLiteral("x"));
        QCOMPARE(m_f.toast(), QStringLiteral("0 ile 100 arasında bir yüzde girin."));

        // The weights are the document's: a new start reads them back.
        enter(pending, QStringLiteral("65"));
        m_f.store->saveBeforeQuit();
        Store again(m_f.dir->path(), false);
        QCOMPARE(again.forecastPendingPercent(), 65.0);
        QCOMPARE(again.forecastOngoingPercent(), 45.0);
        ForecastCard reread(again);
        QCOMPARE(reread.pendingField()->text(), QStringLiteral("65"));
    }
};

TB_WIDGET_TEST_MAIN(TestForecastCard)
#include "tst_forecast_card.moc"
