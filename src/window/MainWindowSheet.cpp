#include "window/MainWindowSheet.h"

#include "editor/ProjectEditor.h"
#include "model/Store.h"
#include "ui/Theme.h"
#include "window/SheetModality.h"

#include <QDialog>
#include <QLabel>
#include <QVBoxLayout>

MainWindowSheet::MainWindowSheet(Store& store, QWidget* window)
    : QObject(window), m_store(store), m_window(window), m_factory(&MainWindowSheet::standardEditor)
{
    connect(&m_store.ui(), &UiState::editorChanged, this, &MainWindowSheet::sync);
}

MainWindowSheet::~MainWindowSheet()
{
    // The window is going; its sheet goes with it but the editor target stays for the next one.
    if (m_dialog)
        m_dialog->disconnect(this);
}

void MainWindowSheet::setEditorFactory(EditorFactory factory)
{
    m_factory = std::move(factory);
    m_identity.clear();
    sync();
}

QWidget* MainWindowSheet::standardEditor(Store& store, const EditorTarget& target, QDialog* sheet)
{
    return new ProjectEditor(store, target, sheet);
}

void MainWindowSheet::sync()
{
    if (!m_window)
        return;
    const auto& target = m_store.ui().editor();
    if (!target) {
        close();
        return;
    }
    if (m_dialog && m_identity == target->identity())
        return;
    close();

    m_identity = target->identity();
    auto* dialog = new QDialog(m_window);
    dialog->setObjectName(QStringLiteral("editorSheet"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // Modal to the window's content only: the window commands of the menu bar stay reachable.
    new SheetModality(dialog, m_window);
    dialog->setWindowTitle(ProjectEditor::title(m_store, *target));
    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    // A sheet is as large as its content: it cannot be resized or maximised.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    if (QWidget* content = m_factory ? m_factory(m_store, *target, dialog) : nullptr)
        layout->addWidget(content);
    connect(dialog, &QDialog::finished, this, [this, dialog] {
        // Dismissed by the user (Escape, the close button, the editor itself).
        if (m_dialog == dialog) {
            m_dialog = nullptr;
            m_identity.clear();
            m_store.ui().setEditor(std::nullopt);
        }
    });
    m_dialog = dialog;
    dialog->adjustSize();
    SheetModality::centre(dialog, m_window);
    dialog->show();
}

void MainWindowSheet::close()
{
    QDialog* dialog = m_dialog;
    m_dialog = nullptr;
    m_identity.clear();
    if (dialog) {
        dialog->disconnect(this);
        dialog->close(); // deletes itself
    }
}
