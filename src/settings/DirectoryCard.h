#pragma once

#include "ui/PanelFrame.h"

#include <QPersistentModelIndex>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <optional>

class CountBadge;
class DirectoryList;
class DirectoryModel;
class DirectoryRowEditor;
class InkButton;
class QLabel;
class QLineEdit;
class Store;

// One card for one list of names: a count, an add field, and the names with rename and remove.
class DirectoryCard final : public PanelFrame
{
    Q_OBJECT

public:
    static constexpr int kHeight = 340;

    struct Spec
    {
        QString titleEn, titleTr;
        QString nounEn, nounTr;
        QString placeholderEn, placeholderTr;
        std::function<QStringList()> items;
        std::function<void(const QString& name)> add;
        std::function<void(const QString& from, const QString& to)> edit;
        std::function<void(const QString& name)> remove;
        // Clients only: the payment terms in days shown on each row and edited with its name.
        std::function<int(const QString& name)> terms = {};
        std::function<void(const QString& name, int days)> setTerms = {};
    };
    // The two directories of the settings page, wired to the store.
    static Spec clients(Store& store);
    static Spec categories(Store& store);

    DirectoryCard(Store& store, Spec spec, QWidget* parent = nullptr);

    // Local state.
    QString draft() const;
    std::optional<QString> editingItem() const { return m_editingItem; }
    QString editingDraft() const { return m_editingDraft; }

    // What the controls do; public so that keyboard paths and tests share them.
    void submitDraft();
    void startEditing(const QString& name);
    // The same, with the focus in the row's terms field.
    void startEditingTerms(const QString& name);
    void commitEdit();
    void cancelEdit();
    // Drops the draft and any unfinished edit (the page was left).
    void discardLocalState();

    QLabel* titleLabel() const { return m_title; }
    CountBadge* badge() const { return m_badge; }
    QLineEdit* addField() const { return m_addField; }
    InkButton* addButton() const { return m_addButton; }
    DirectoryList* list() const { return m_list; }
    DirectoryModel* model() const { return m_model; }
    // The editor of the row in edit mode, nullptr when no row is edited.
    DirectoryRowEditor* rowEditor() const;

private:
    void refreshItems();
    void retranslate();
    void openEditor(const QString& draft);
    void closeEditor();

    Store& m_store;
    Spec m_spec;
    QLabel* m_title;
    CountBadge* m_badge;
    QLineEdit* m_addField;
    InkButton* m_addButton;
    DirectoryList* m_list;
    DirectoryModel* m_model;
    std::optional<QString> m_editingItem;
    QString m_editingDraft;
    QString m_editingTermsDraft;
    QPersistentModelIndex m_editingIndex;
    QPointer<DirectoryRowEditor> m_editor;
};
