#pragma once

#include "model/StoreTypes.h"

#include <QObject>
#include <QPointer>
#include <functional>

#include <QDialog>
class QWidget;
class Store;

// Shows the project editor as a sheet (a dialog centred on the main window, modal to its content) while
// ui().editor is set. A new target rebuilds the sheet; dismissing it clears ui().editor, and
// clearing ui().editor closes it.
//
// The editor view plugs in through standardEditor() below. It gets the dialog as its parent and
// dismisses the sheet with QDialog::accept() or reject() (or by clearing ui().editor).
class MainWindowSheet final : public QObject
{
    Q_OBJECT

public:
    using EditorFactory = std::function<QWidget*(Store& store, const EditorTarget& target, QDialog* sheet)>;

    MainWindowSheet(Store& store, QWidget* window);
    ~MainWindowSheet() override;

    void setEditorFactory(EditorFactory factory);
    QDialog* dialog() const { return m_dialog; }
    static QWidget* standardEditor(Store& store, const EditorTarget& target, QDialog* sheet);

private:
    void sync();
    void close();

    Store& m_store;
    QPointer<QWidget> m_window;
    EditorFactory m_factory;
    QPointer<QDialog> m_dialog;
    QString m_identity;
};
