#pragma once

#include "ui/PanelFrame.h"

#include <QPointer>
#include <functional>

class OutlineButton;
class QLabel;
class QMessageBox;
class Store;
class TextLinkButton;

// Where this computer keeps the data file: the folder, a way to choose another (a folder a sync
// service shares, say), and a way to open it.
class DataFolderCard final : public PanelFrame
{
    Q_OBJECT

public:
    // Asks for a folder; an empty answer is a cancel. QFileDialog::getExistingDirectory unless
    // replaced (tests).
    using FolderPicker = std::function<QString(QWidget* parent, const QString& title, const QString& start)>;

    explicit DataFolderCard(Store& store, QWidget* parent = nullptr);

    void setFolderPicker(FolderPicker picker) { m_picker = std::move(picker); }
    OutlineButton* changeButton() const { return m_change; }
    TextLinkButton* openButton() const { return m_open; }
    QLabel* pathLabel() const { return m_path; }
    // The question asked when the chosen folder holds a data file already, while it is open.
    QMessageBox* question() const;

    // Asks for a folder and moves the data there.
    void chooseFolder();
    // Closes the question as Cancel would (the page was left).
    void dismissQuestion();

private:
    void showFolder();
    void retranslate();

    Store& m_store;
    FolderPicker m_picker;
    QLabel* m_title;
    QLabel* m_detail;
    TextLinkButton* m_open;
    QLabel* m_path;
    OutlineButton* m_change;
    QPointer<QMessageBox> m_dialog;
};
