#pragma once

#include <QDialog>

class AppCommands;
class QLabel;
class QPushButton;
class QTreeWidget;
class Store;

// The keys of the board and the application's commands in a window of their own, as one list that
// the keyboard and a screen reader go through row by row. It follows the interface language; the
// commands' keys are read from their actions, so the list shows what the menus do.
class ShortcutsWindow final : public QDialog
{
    Q_OBJECT

public:
    ShortcutsWindow(Store& store, const AppCommands& commands, QWidget* parent = nullptr);

    QTreeWidget* list() const { return m_list; }

private:
    void retranslate();

    Store& m_store;
    const AppCommands& m_commands;
    QLabel* m_title;
    QTreeWidget* m_list;
    QPushButton* m_close;
};
