#include "TestMain.h"
#include "tst_board_fixture.h"

#include "board/AmountLabel.h"
#include "board/SummaryPanel.h"
#include "board/SummaryParts.h"
#include "board/TargetPopover.h"
#include "board/TaxRateBox.h"
#include "i18n/CurrencyRate.h"
#include "ui/Animations.h"
#include "ui/CountBadge.h"
#include "ui/Eyebrow.h"
#include "ui/InvalidOutline.h"
#include "ui/ProgressTrack.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace BoardFixture;

class TestSummary : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Store> m_store;

    // Paid 1000 and 500 (250 outsourced), pending 2000; another year's paid project is ignored.
    void standardStore()
    {
        m_store = store(m_dir, {project(QStringLiteral("A"), Status::paid, 1000),
                                project(QStringLiteral("B"), Status::paid, 500, 250),
                                project(QStringLiteral("C"), Status::pending, 2000),
                                project(QStringLiteral("Old"), Status::paid, 9000, 0, QStringLiteral("X"),
                                        QStringLiteral("Y"), -1)});
        m_store->update([](AppData& d) {
            d.taxRate = 20;
            d.targetGoal = 50000;
        });
    }

    static void commitTax(TaxRateBox* box, const QString& text)
    {
        box->field()->selectAll();
        box->field()->setText(text);
        QTest::keyClick(box->field(), Qt::Key_Return);
    }

private slots:
    void initTestCase()
    {
        Animations::setEnabled(false);
        CurrencyRate::setUsdToTry(32.5);
    }
    void init() { standardStore(); }
    void cleanup() { m_store.reset(); }

    void figuresInEnglish()
    {
        SummaryPanel panel(*m_store);
        const QString year = QString::number(Store::currentYear());
        QCOMPARE(panel.earnedTitle()->sourceText(), QStringLiteral("Earned so far in ") + year);
        QCOMPARE(panel.earnedAmount()->text(), TestEnv::localized(QStringLiteral("$1,500")));
        // (1500 - 250) less 20 % tax.
        QVERIFY(panel.netText()->text().startsWith(QStringLiteral("Net: ")));
        QVERIFY(panel.netText()->text().contains(TestEnv::localized(QStringLiteral("$1,000"))));
        QCOMPARE(panel.taxBox()->field()->text(), QStringLiteral("20"));
        QCOMPARE(panel.targetPercent()->text(), QStringLiteral("3%"));
        QCOMPARE(panel.targetButton()->text(), TestEnv::localized(QStringLiteral("$50,000")));
        QCOMPARE(panel.remainingText()->text(), TestEnv::localized(QStringLiteral("Remaining: $48,500")));
        QCOMPARE(panel.progress()->value(), 0.03);
        QCOMPARE(panel.contractorText()->text(), QStringLiteral("Contractor: $250"));
        QCOMPARE(panel.projectCount()->text(), QStringLiteral("3 Projects"));
        QCOMPARE(panel.pipelineAmount()->text(), TestEnv::localized(QStringLiteral("$3,500")));
        QCOMPARE(panel.collectionText()->text(), TestEnv::localized(QStringLiteral("42.9% realized")));
        QCOMPARE(panel.targetButton()->toolTip(), QStringLiteral("Change the annual target"));

        // Everything follows the Store at once.
        const QUuid pending = m_store->data().projects.at(2).id;
        m_store->move(pending, Status::paid);
        QCOMPARE(panel.earnedAmount()->text(), TestEnv::localized(QStringLiteral("$3,500")));
        QCOMPARE(panel.collectionText()->text(), QStringLiteral("100% realized"));
        m_store->setActiveYear(Store::currentYear() - 1);
        QCOMPARE(panel.earnedAmount()->text(), TestEnv::localized(QStringLiteral("$9,000")));
        QCOMPARE(panel.projectCount()->text(), QStringLiteral("1 Projects"));
        QCOMPARE(panel.earnedTitle()->sourceText(),
                 QStringLiteral("Earned so far in ") + QString::number(Store::currentYear() - 1));
    }

    void figuresInTurkish()
    {
        m_store->setLanguage(AppLanguage::tr);
        SummaryPanel panel(*m_store);
        const QString year = QString::number(Store::currentYear());
        QCOMPARE(panel.earnedTitle()->sourceText(), year + QStringLiteral(" Yılında Kazanılan"));
        QCOMPARE(panel.earnedTitle()->text(), year + QStringLiteral(" YILINDA KAZANILAN"));
        QCOMPARE(panel.earnedAmount()->text(), QStringLiteral("48.750 ₺"));
        QCOMPARE(panel.targetPercent()->text(), QStringLiteral("%3"));
        QCOMPARE(panel.remainingText()->text(), QStringLiteral("Kalan: ") + m_store->money(48500));
        QCOMPARE(panel.contractorText()->text(), QStringLiteral("Dış Kaynak: ") + m_store->money(250));
        QCOMPARE(panel.projectCount()->text(), QStringLiteral("3 Proje"));
        QCOMPARE(panel.collectionText()->text(), QStringLiteral("%43 tahsil edildi"));
        QCOMPARE(panel.taxBox()->field()->placeholderText(), QStringLiteral("Vergi"));
        QCOMPARE(panel.targetButton()->toolTip(), QStringLiteral("Yıllık hedefi değiştir"));
        // The live rate arriving redraws every figure at once, not only those changed later.
        CurrencyRate::setUsdToTry(40);
        QCOMPARE(panel.earnedAmount()->text(), QStringLiteral("60.000 ₺"));
        QCOMPARE(panel.targetButton()->text(), QStringLiteral("2.000.000 ₺"));
        QCOMPARE(panel.remainingText()->text(), QStringLiteral("Kalan: 1.940.000 ₺"));
        QCOMPARE(panel.pipelineAmount()->text(), QStringLiteral("140.000 ₺"));
        QVERIFY(panel.netText()->text().contains(QStringLiteral("40.000 ₺")));
        CurrencyRate::setUsdToTry(32.5);
        // Back to English without rebuilding the panel.
        m_store->setLanguage(AppLanguage::en);
        QCOMPARE(panel.projectCount()->text(), QStringLiteral("3 Projects"));
        QCOMPARE(panel.earnedTitle()->sourceText(), QStringLiteral("Earned so far in ") + year);
    }

    void emptyYearAndTargetReached()
    {
        m_store = store(m_dir, {});
        m_store->update([](AppData& d) { d.targetGoal = 50000; });
        SummaryPanel panel(*m_store);
        QCOMPARE(panel.earnedAmount()->text(), m_store->money(0));
        QCOMPARE(panel.remainingText()->text(), QStringLiteral("Remaining: ") + m_store->money(50000));
        QCOMPARE(panel.projectCount()->text(), QStringLiteral("0 Projects"));
        QCOMPARE(panel.collectionText()->text(), QStringLiteral("0% realized"));

        m_store->update(
            [](AppData& d) { d.projects = {project(QStringLiteral("Big"), Status::paid, 50000)}; });
        QCOMPARE(panel.remainingText()->text(), QStringLiteral("Target achieved!"));
        QCOMPARE(panel.targetPercent()->text(), QStringLiteral("100%"));
        m_store->setLanguage(AppLanguage::tr);
        QCOMPARE(panel.remainingText()->text(), QStringLiteral("Hedefe ulaşıldı!"));
        QCOMPARE(panel.projectCount()->text(), QStringLiteral("1 Proje"));
        // No target at all also counts as reached.
        m_store->update([](AppData& d) { d.targetGoal = 0; });
        QCOMPARE(panel.remainingText()->text(), QStringLiteral("Hedefe ulaşıldı!"));
        QCOMPARE(panel.targetPercent()->text(), QStringLiteral("%0"));
    }

    void collectionRateTexts()
    {
        QCOMPARE(SummaryPanel::collectionRateText(0.5, false), QStringLiteral("50% realized"));
        QCOMPARE(SummaryPanel::collectionRateText(0.5, true), QStringLiteral("%50 tahsil edildi"));
        QCOMPARE(SummaryPanel::collectionRateText(0.4237, false),
                 TestEnv::localized(QStringLiteral("42.4% realized")));
        QCOMPARE(SummaryPanel::collectionRateText(0.4237, true), QStringLiteral("%42 tahsil edildi"));
        QCOMPARE(SummaryPanel::collectionRateText(0.99999, false), QStringLiteral("100% realized"));
        QCOMPARE(SummaryPanel::collectionRateText(0.0005, true), QStringLiteral("%0 tahsil edildi"));
    }

    void taxRateIsClampedAndOnlyNumbersCount()
    {
        SummaryPanel panel(*m_store);
        TaxRateBox* box = panel.taxBox();
        QCOMPARE(box->field()->accessibleName(), QStringLiteral("Estimated tax rate"));
        QCOMPARE(box->field()->placeholderText(), QStringLiteral("Tax"));

        commitTax(box, QStringLiteral("120"));
        QCOMPARE(m_store->data().taxRate, 100.0);
        QCOMPARE(box->field()->text(), QStringLiteral("100"));
        QVERIFY(m_store->hasPendingSave());
        commitTax(box, QStringLiteral("-5"));
        QCOMPARE(m_store->data().taxRate, 0.0);
        commitTax(box, QStringLiteral("17.5"));
        QCOMPARE(m_store->data().taxRate, 17.5);
        QCOMPARE(box->field()->text(), TestEnv::localized(QStringLiteral("17.5")));
        // Net follows: (1500 - 250) less 17.5 %.
        QVERIFY(panel.netText()->text().contains(m_store->money(1031.25).toHtmlEscaped()));

        // The other decimal mark means the same rate on every system.
        commitTax(box, QStringLiteral("12,5"));
        QCOMPARE(m_store->data().taxRate, 12.5);
        commitTax(box, QStringLiteral("17.5"));
        QCOMPARE(m_store->data().taxRate, 17.5);
        commitTax(box, QStringLiteral("abc"));
        QCOMPARE(m_store->data().taxRate, 17.5);
        QCOMPARE(box->field()->text(), TestEnv::localized(QStringLiteral("17.5")));
        commitTax(box, QString());
        QCOMPARE(m_store->data().taxRate, 17.5);

        QVERIFY(TaxRateBox::parse(QStringLiteral("1e400")) == std::nullopt);
        QCOMPARE(*TaxRateBox::parse(QStringLiteral(" 33 ")), 33.0);
        m_store->update([](AppData& d) { d.taxRate = 25; });
        QCOMPARE(box->field()->text(), QStringLiteral("25"));

        // Leaving the field commits as well.
        panel.resize(1200, panel.sizeHint().height());
        panel.show();
        panel.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&panel));
        box->field()->setFocus();
        QTRY_VERIFY(box->field()->hasFocus());
        box->field()->setText(QStringLiteral("31"));
        panel.targetButton()->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(m_store->data().taxRate, 31.0);
    }

    void targetPopoverValidatesAndSaves()
    {
        m_store->update([](AppData& d) { d.targetGoal = 120000; });
        SummaryPanel panel(*m_store);
        panel.resize(1200, panel.sizeHint().height());
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QVERIFY(!panel.editingTarget());
        QTest::mouseClick(panel.targetButton(), Qt::LeftButton);
        QVERIFY(panel.editingTarget());
        TargetPopover* popover = panel.targetEditor();
        QVERIFY(popover);
        QCOMPARE(popover->field()->text(), QStringLiteral("120000"));
        QCOMPARE(popover->field()->accessibleName(), QStringLiteral("Annual target"));
        QCOMPARE(popover->field()->placeholderText(), QStringLiteral("Target"));
        QCOMPARE(popover->saveButton()->text(), QStringLiteral("Save"));
        QCOMPARE(popover->cancelButton()->text(), QStringLiteral("Cancel"));
        QVERIFY(!isInvalid(popover->field()));
        QVERIFY(popover->saveButton()->isEnabled());
        // It opens below its button.
        QVERIFY(popover->geometry().top() >= panel.targetButton()->mapToGlobal(QPoint(0, 0)).y());

        popover->field()->clear();
        QVERIFY(isInvalid(popover->field()));
        QCOMPARE(popover->field()->accessibleDescription(), QStringLiteral("Not a valid amount"));
        QVERIFY(!popover->saveButton()->isEnabled());
        QTest::keyClick(popover->field(), Qt::Key_Return);
        QVERIFY(popover->isVisible());
        QCOMPARE(m_store->data().targetGoal, 120000.0);

        QTest::keyClicks(popover->field(), QStringLiteral("90,000"));
        QVERIFY(!isInvalid(popover->field()));
        QVERIFY(popover->saveButton()->isEnabled());
        QTest::keyClick(popover->field(), Qt::Key_Return);
        QCOMPARE(m_store->data().targetGoal, 90000.0);
        QVERIFY(m_store->hasPendingSave());
        QVERIFY(!panel.editingTarget());
        QCOMPARE(panel.targetButton()->text(), TestEnv::localized(QStringLiteral("$90,000")));
        QCOMPARE(panel.targetPercent()->text(), QStringLiteral("2%"));
        QCOMPARE(panel.remainingText()->text(), TestEnv::localized(QStringLiteral("Remaining: $88,500")));
        QCOMPARE(panel.progress()->value(), 1500.0 / 90000);
        QTRY_VERIFY(!panel.targetEditor());

        // Escape closes without a change; the next opening starts from the stored target.
        panel.openTargetEditor();
        popover = panel.targetEditor();
        QTest::keyClicks(popover->field(), QStringLiteral("5"));
        QTest::keyClick(popover, Qt::Key_Escape);
        QVERIFY(!panel.editingTarget());
        QCOMPARE(m_store->data().targetGoal, 90000.0);
        QTRY_VERIFY(!panel.targetEditor());
        panel.openTargetEditor();
        QCOMPARE(panel.targetEditor()->field()->text(), QStringLiteral("90000"));
        QTest::mouseClick(panel.targetEditor()->cancelButton(), Qt::LeftButton);
        QVERIFY(!panel.editingTarget());

        QCOMPARE(TargetPopover::draftText(1234.5), TestEnv::localized(QStringLiteral("1234.5")));
        QCOMPARE(TargetPopover::draftText(50000), QStringLiteral("50000"));
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(TargetPopover::draftText(1234.5), QStringLiteral("1234,5"));
        TestEnv::restoreLocale();

        m_store->setLanguage(AppLanguage::tr);
        panel.openTargetEditor();
        popover = panel.targetEditor();
        QCOMPARE(popover->saveButton()->text(), QStringLiteral("Kaydet"));
        QCOMPARE(popover->cancelButton()->text(), QStringLiteral("İptal"));
        QCOMPARE(popover->field()->placeholderText(), QStringLiteral("Hedef"));
        popover->close();
    }

    void turkishTargetIsShownAndTypedInLira()
    {
        m_store->setLanguage(AppLanguage::tr);
        m_store->update([](AppData& d) { d.targetGoal = 50000.4; });
        SummaryPanel panel(*m_store);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        // 50000.4 dollars at 32.5 lira: the button and the field speak the same money.
        QCOMPARE(panel.targetButton()->text(), QStringLiteral("1.625.013 ₺"));
        panel.openTargetEditor();
        TargetPopover* popover = panel.targetEditor();
        QCOMPARE(popover->field()->text(), QStringLiteral("1625013"));
        // Saved untouched, the stored target stays exactly what it was.
        popover->saveTarget();
        QCOMPARE(m_store->data().targetGoal, 50000.4);

        // A lira target typed as seen is stored in dollars.
        panel.openTargetEditor();
        popover = panel.targetEditor();
        popover->field()->setText(QStringLiteral("3.250.000"));
        QVERIFY(popover->saveButton()->isEnabled());
        popover->saveTarget();
        QCOMPARE(m_store->data().targetGoal, 100000.0);
        QCOMPARE(panel.targetButton()->text(), QStringLiteral("3.250.000 ₺"));

        // English shows and reads dollars, with the fraction.
        m_store->setLanguage(AppLanguage::en);
        panel.openTargetEditor();
        popover = panel.targetEditor();
        QCOMPARE(popover->field()->text(), QStringLiteral("100000"));
        popover->field()->setText(QStringLiteral("1500"));
        popover->saveTarget();
        QCOMPARE(m_store->data().targetGoal, 1500.0);
    }

    void bigAmountsShrinkBeforeTheyElide()
    {
        AmountLabel label(46, QFont::ExtraBold, -1, Qt::black);
        label.setText(TestEnv::localized(QStringLiteral("$1,234,567,890")));
        const int natural = label.sizeHint().width();
        label.resize(natural, label.sizeHint().height());
        QCOMPARE(label.fitScale(), 1.0);
        label.resize(natural * 3 / 4, label.sizeHint().height());
        QVERIFY(label.fitScale() < 1 && label.fitScale() > AmountLabel::kMinimumScale);
        label.resize(natural / 3, label.sizeHint().height());
        QCOMPARE(label.fitScale(), AmountLabel::kMinimumScale);
        QCOMPARE(label.minimumSizeHint().width(), 0);
    }
};

TB_WIDGET_TEST_MAIN(TestSummary)
#include "tst_summary.moc"
