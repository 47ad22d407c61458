#pragma once

#include "model/AppData.h"
#include "model/Backups.h"
#include "ui/PanelFrame.h"

#include <QPointer>
#include <atomic>
#include <memory>

class InkButton;
class QLabel;
class QListWidget;
class QMessageBox;
class Store;
class TextLinkButton;

// The rolling backups and the files set aside at a start: the list, what restoring the chosen one
// would change, and the restore itself after a confirmation.
class BackupsCard final : public PanelFrame
{
    Q_OBJECT

public:
    explicit BackupsCard(Store& store, QWidget* parent = nullptr);
    ~BackupsCard() override;

    QListWidget* list() const { return m_list; }
    InkButton* restoreButton() const { return m_restore; }
    QLabel* preview() const { return m_preview; }
    QMessageBox* confirmation() const;
    const QVector<Backups::Entry>& entries() const { return m_entries; }

    // Reads the folder again; the entries are then read one by one on another thread.
    void refresh();
    // Closes the confirmation as Cancel would (the page was left).
    void dismissConfirmation();
    // Reads every entry not yet read, now (tests).
    void describeAll();
    // True while the chosen entry is being read for its preview.
    bool isReadingPreview() const { return m_reading; }

private:
    int chosenRow() const;
    void describeInBackground();
    void fillRow(int row);
    void showPreview();
    void confirmRestore();
    void retranslate();

    Store& m_store;
    QLabel* m_title;
    QLabel* m_detail;
    TextLinkButton* m_open;
    QListWidget* m_list;
    QLabel* m_empty;
    QLabel* m_preview;
    InkButton* m_restore;
    QVector<Backups::Entry> m_entries;
    // The chosen entry read once, not again on every change of the document in use.
    QString m_readPath;
    std::optional<AppData> m_read;
    QString m_readError;
    bool m_reading = false;
    quint64 m_readGeneration = 0;
    // The listing the background reading works for; another value tells it to stop.
    std::shared_ptr<std::atomic<quint64>> m_listing = std::make_shared<std::atomic<quint64>>(0);
    QPointer<QMessageBox> m_dialog;
};
