#include "settings/DeleteDataCard.h"

#include "model/Store.h"
#include "settings/DangerButton.h"
#include "settings/SettingsLabel.h"
#include "ui/Theme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

DeleteDataCard::DeleteDataCard(Store& store, QWidget* parent) : PanelFrame(24, 24, parent), m_store(store)
{
    setObjectName(QStringLiteral("deleteDataCard"));
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(12);
    auto* texts = new QVBoxLayout;
    texts->setContentsMargins(0, 0, 0, 0);
    texts->setSpacing(2);
    m_title = SettingsLabel::make(QString(), 13, QFont::Bold, Theme::ink(), this);
    m_detail = SettingsLabel::make(QString(), 11, QFont::Normal, Theme::muted(), this);
    m_detail->setWordWrap(true);
    texts->addWidget(m_title);
    texts->addWidget(m_detail);
    m_button = new DangerButton(QString(), this);
    m_button->setObjectName(QStringLiteral("deleteDataButton"));
    connect(m_button, &QAbstractButton::clicked, this, &DeleteDataCard::confirm);
    row->addLayout(texts, 1);
    row->addWidget(m_button, 0, Qt::AlignVCenter);
    body()->addLayout(row);

    connect(&m_store, &Store::languageChanged, this, &DeleteDataCard::retranslate);
    retranslate();
}

void DeleteDataCard::confirm()
{
    if (m_dialog) {
        m_dialog->raise();
        m_dialog->activateWindow();
        return;
    }
    auto* box = new QMessageBox(window());
    box->setObjectName(QStringLiteral("deleteDataConfirmation"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->setIcon(QMessageBox::Warning);
    const QString title = m_store.tr(QStringLiteral("Delete all Tallybrook data?"),
                                     QStringLiteral("Tüm Tallybrook verileri silinsin mi?"));
    box->setWindowTitle(title);
    box->setText(title);
    box->setInformativeText(m_store.tr(
        QStringLiteral("Projects, clients, categories and settings on this computer will be removed. "
                       "This cannot be undone."),
        QStringLiteral("Bu bilgisayardaki projeler, müşteriler, kategoriler ve ayarlar silinecektir. "
                       "Bu işlem geri alınamaz.")));
    QPushButton* erase =
        box->addButton(m_store.tr(QStringLiteral("Delete Everything"), QStringLiteral("Tümünü Sil")),
                       QMessageBox::DestructiveRole);
    QPushButton* sample = box->addButton(
        m_store.tr(QStringLiteral("Replace with Sample Data"), QStringLiteral("Örnek Verileri Yükle")),
        QMessageBox::AcceptRole);
    QPushButton* cancel = box->addButton(m_store.tr(QStringLiteral("Cancel"), QStringLiteral("İptal")),
                                         QMessageBox::RejectRole);
    erase->setObjectName(QStringLiteral("confirmDeleteEverything"));
    sample->setObjectName(QStringLiteral("confirmReplaceWithSample"));
    cancel->setObjectName(QStringLiteral("confirmCancel"));
    // Return must not erase by accident; Escape and closing the window count as Cancel.
    box->setDefaultButton(cancel);
    box->setEscapeButton(cancel);
    connect(box, &QMessageBox::buttonClicked, this, [this, erase, sample](QAbstractButton* button) {
        if (button == erase)
            m_store.eraseAll();
        else if (button == sample)
            m_store.restoreSample();
    });
    // The box deletes itself later; from now on it no longer counts as shown.
    connect(box, &QDialog::finished, this, [this] { m_dialog = nullptr; });
    m_dialog = box;
    box->open();
}

QMessageBox* DeleteDataCard::confirmation() const
{
    return m_dialog;
}

bool DeleteDataCard::confirming() const
{
    return m_dialog && m_dialog->isVisible();
}

void DeleteDataCard::dismissConfirmation()
{
    if (m_dialog)
        m_dialog->reject();
}

void DeleteDataCard::retranslate()
{
    m_title->setText(m_store.tr(QStringLiteral("Delete Data"), QStringLiteral("Verileri Sil")));
    m_detail->setText(
        m_store.tr(QStringLiteral("Erase every record, or restore the sample studio data."),
                   QStringLiteral("Tüm kayıtları silin veya örnek stüdyo verilerini geri yükleyin.")));
    m_button->setText(m_store.tr(QStringLiteral("Delete Data"), QStringLiteral("Verileri Sil")));
    m_button->updateGeometry();
}
