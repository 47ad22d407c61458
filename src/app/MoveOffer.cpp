#include "app/MoveOffer.h"

#include "app/TallybrookApp.h"
#include "model/Preferences.h"
#include "model/Store.h"

#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

namespace {
bool declined()
{
    return Preferences::boolean(Preferences::kDismissedMoveToApps, false);
}
} // namespace

MoveOffer* MoveOffer::offerIfNeeded(QWidget* window, const Store& store, Options options)
{
    if (!window || declined() || AppLocationManager::isInApplications(options.paths))
        return nullptr;
    if (window->findChild<MoveOffer*>(QString(), Qt::FindDirectChildrenOnly))
        return nullptr;
    return new MoveOffer(window, store, std::move(options));
}

MoveOffer::MoveOffer(QWidget* window, const Store& store, Options options)
    : QObject(window), m_window(window), m_store(store), m_options(std::move(options))
{
    m_delay.setSingleShot(true);
    m_delay.setInterval(kDelayMs);
    connect(&m_delay, &QTimer::timeout, this, &MoveOffer::showPrompt);
    m_delay.start();
}

void MoveOffer::showPrompt()
{
    m_delay.stop();
    if (m_prompt)
        return;
    // The window may have closed during the delay; its next opening offers again.
    if (!m_window->isVisible() || declined()) {
        deleteLater();
        return;
    }
    const Store& store = m_store;
    auto* box = new QMessageBox(m_window);
    box->setObjectName(QStringLiteral("moveToApplicationsPrompt"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowTitle(store.tr(QStringLiteral("Move to Applications Folder?"),
                                 QStringLiteral("Uygulamalar Klasörüne Taşınsın mı?")));
    box->setText(box->windowTitle());
    box->setInformativeText(store.tr(
        QStringLiteral("Tallybrook works best when placed in your Applications folder."),
        QStringLiteral("Tallybrook'nın en sağlıklı ve düzenli çalışması için Uygulamalar klasörüne taşınması "
                       "önerilir.")));
    // The application's own, also before the windows have it (they get it after the first frame).
    box->setIconPixmap(TallybrookApp::applicationIcon().pixmap(64, 64));
    QPushButton* move =
        box->addButton(store.tr(QStringLiteral("Move to Applications"), QStringLiteral("Uygulamalar'a Taşı")),
                       QMessageBox::AcceptRole);
    QPushButton* stay =
        box->addButton(store.tr(QStringLiteral("Do Not Move"), QStringLiteral("Şimdilik Burada Çalıştır")),
                       QMessageBox::RejectRole);
    move->setObjectName(QStringLiteral("moveButton"));
    stay->setObjectName(QStringLiteral("doNotMoveButton"));
    box->setDefaultButton(move);
    box->setEscapeButton(stay);
    // Escape and the close button count as the cancel button.
    connect(box, &QDialog::finished, this, [this, box, move] { answer(box->clickedButton() == move); });
    m_prompt = box;
    box->open();
}

void MoveOffer::answer(bool accepted)
{
    m_prompt = nullptr;
    if (accepted)
        AppLocationManager::moveToApplications(m_options.paths, m_options.launch, m_options.quit);
    else
        Preferences::setBoolean(Preferences::kDismissedMoveToApps, true);
    deleteLater();
}
