#pragma once

#include "model/AppData.h"
#include "model/Backups.h"
#include "ui/PanelFrame.h"

#include <QPointer>
#include <QTimer>

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

    QListWidget* list() const { return m_list; }
    InkButton* restoreButton() const { return m_restore; }
    QLabel* preview() const { return m_preview; }
    QMessageBox* confirmation() const;
    const QVector<Backups::Entry>& entries() const { return m_entries; }

    // Reads the folder again; the entries are then read one by one while the program stays free.
    void refresh();
    // Closes the confirmation as Cancel would (the page was left).
    void dismissConfirmation();
    // Reads every entry not yet read, now (tests).
    void describeAll();

private:
    int chosenRow() const;
    void describeNext();
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
    QTimer m_describer;
    QPointer<QMessageBox> m_dialog;
};
