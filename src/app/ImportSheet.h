#pragma once

#include "model/CsvImport.h"

#include <QDialog>
#include <QSet>

class InkButton;
class OutlineButton;
class PopUpButton;
class QGridLayout;
class QLabel;
class QListWidget;
class QTableView;
class Store;
class ImportTableModel;

// The preview of a CSV file before its projects join the document: the rows as a table, the
// guesses (encoding, delimiter, each column's role, date format, decimal separator) open to
// change, the statuses no name covers, duplicates unticked and the rows that cannot be imported
// listed with their reasons. "Import N Projects" adds the ticked rows as one undoable step and
// remembers the choices for the next file with the same header line.
class ImportSheet final : public QDialog
{
    Q_OBJECT

public:
    ImportSheet(Store& store, const QByteArray& bytes, const QString& fileName, QWidget* parent = nullptr);

    const CsvImport::Preview& preview() const { return m_preview; }
    // The rows that "Import" adds now.
    QVector<Project> ticked() const;
    int tickedCount() const;
    bool isTicked(const CsvImport::Row& row) const;
    // Ticks or unticks the row that begins on this line of the file (the table's check box).
    void setTicked(int line, bool ticked);

    PopUpButton* encodingPicker() const { return m_encoding; }
    PopUpButton* delimiterPicker() const { return m_delimiter; }
    PopUpButton* datePicker() const { return m_dateFormat; }
    PopUpButton* decimalPicker() const { return m_decimal; }
    // One per column of the file.
    const QVector<PopUpButton*>& rolePickers() const { return m_roles; }
    // One per status text of the file that no built-in name covers, in the file's order; a status
    // stays after it has been given a meaning.
    const QVector<PopUpButton*>& statusPickers() const { return m_statuses; }
    QTableView* table() const { return m_table; }
    QListWidget* problemList() const { return m_problems; }
    QLabel* notice() const { return m_notice; }
    InkButton* importButton() const { return m_import; }

    // The sheet's title in the store's language.
    static QString title(const Store& store);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void rebuildColumns();
    void rebuildStatuses();
    void refresh();
    void reread();
    void runImport();
    void retranslate();
    void updateNotice();

    Store& m_store;
    QByteArray m_bytes;
    QString m_fileName;
    // Only what the user chose (or chose last time for this header line); the rest is guessed
    // again by each preview.
    CsvImport::Options m_options;
    CsvImport::Preview m_preview;
    // The user's ticks by line; a row without one is ticked unless it is a duplicate.
    QHash<int, bool> m_ticks;

    QLabel* m_title = nullptr;
    QLabel* m_subtitle = nullptr;
    QLabel* m_encodingLabel = nullptr;
    QLabel* m_delimiterLabel = nullptr;
    QLabel* m_dateLabel = nullptr;
    QLabel* m_decimalLabel = nullptr;
    PopUpButton* m_encoding = nullptr;
    PopUpButton* m_delimiter = nullptr;
    PopUpButton* m_dateFormat = nullptr;
    PopUpButton* m_decimal = nullptr;
    QLabel* m_columnsLabel = nullptr;
    QWidget* m_columnsBox = nullptr;
    QGridLayout* m_columnsGrid = nullptr;
    QVector<QLabel*> m_roleLabels;
    QVector<PopUpButton*> m_roles;
    QLabel* m_statusesLabel = nullptr;
    QWidget* m_statusesBox = nullptr;
    QGridLayout* m_statusesGrid = nullptr;
    QVector<PopUpButton*> m_statuses;
    QVector<QLabel*> m_statusLabels;
    QStringList m_shownHeader;
    QStringList m_shownStatuses; // the keys of the statuses the pickers are for
    ImportTableModel* m_model = nullptr;
    QTableView* m_table = nullptr;
    QLabel* m_problemsLabel = nullptr;
    QListWidget* m_problems = nullptr;
    QLabel* m_notice = nullptr;
    OutlineButton* m_cancel = nullptr;
    InkButton* m_import = nullptr;
};
