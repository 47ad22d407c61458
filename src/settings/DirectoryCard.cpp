#include "settings/DirectoryCard.h"

#include "i18n/L10n.h"
#include "model/Store.h"
#include "model/Text.h"
#include "settings/DirectoryList.h"
#include "settings/DirectoryModel.h"
#include "settings/DirectoryRowEditor.h"
#include "settings/DirectoryText.h"
#include "settings/FieldFrame.h"
#include "settings/SettingsLabel.h"
#include "ui/CountBadge.h"
#include "ui/InkButton.h"
#include "ui/Theme.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

DirectoryCard::Spec DirectoryCard::clients(Store& store)
{
    return {QStringLiteral("Clients Directory"),
            QStringLiteral("Müşteri Rehberi"),
            QStringLiteral("Client"),
            QStringLiteral("Müşteri"),
            QStringLiteral("New client name…"),
            QStringLiteral("Yeni müşteri adı…"),
            [&store] { return store.data().clients; },
            [&store](const QString& name) { store.addClient(name); },
            [&store](const QString& from, const QString& to) { store.editClient(from, to); },
            [&store](const QString& name) { store.removeClient(name); },
            [&store](const QString& name) { return store.paymentTerms(name); },
            [&store](const QString& name, int days) { store.setPaymentTerms(name, days); }};
}

DirectoryCard::Spec DirectoryCard::categories(Store& store)
{
    return {QStringLiteral("Disciplines & Categories"),
            QStringLiteral("Uzmanlıklar ve Kategoriler"),
            QStringLiteral("Category"),
            QStringLiteral("Kategori"),
            QStringLiteral("e.g. Spatial Design…"),
            QStringLiteral("örn. Marka Kimliği…"),
            [&store] { return store.data().categories; },
            [&store](const QString& name) { store.addCategory(name); },
            [&store](const QString& from, const QString& to) { store.editCategory(from, to); },
            [&store](const QString& name) { store.removeCategory(name); }};
}

DirectoryCard::DirectoryCard(Store& store, Spec spec, QWidget* parent)
    : PanelFrame(24, 24, parent), m_store(store), m_spec(std::move(spec))
{
    setFixedHeight(kHeight);
    body()->setSpacing(12);

    auto* header = new QHBoxLayout;
    header->setContentsMargins(0, 0, 0, 0);
    m_title = SettingsLabel::make(QString(), 15, QFont::Bold, Theme::ink(), this);
    m_badge = new CountBadge(QString(), this);
    header->addWidget(m_title, 0, Qt::AlignVCenter);
    header->addStretch(1);
    header->addWidget(m_badge, 0, Qt::AlignVCenter);
    body()->addLayout(header);

    auto* addRow = new QHBoxLayout;
    addRow->setContentsMargins(0, 0, 0, 0);
    addRow->setSpacing(8);
    auto* addFrame = new FieldFrame(
        {-1, Theme::cream(), Theme::border(), QMargins(16, 8, 16, 8), Theme::font(12, QFont::Medium)}, this);
    m_addField = addFrame->lineEdit();
    m_addField->setObjectName(QStringLiteral("directoryAddField"));
    m_addButton = new InkButton(QString(), QString(), this);
    m_addButton->setObjectName(QStringLiteral("directoryAddButton"));
    m_addButton->setEnabled(false);
    addRow->addWidget(addFrame, 1, Qt::AlignVCenter);
    addRow->addWidget(m_addButton, 0, Qt::AlignVCenter);
    body()->addLayout(addRow);
    connect(m_addField, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_addButton->setEnabled(!Text::trimBlanks(text).isEmpty()); });
    // Return submits even while the button is disabled; the store ignores blank names.
    connect(m_addField, &QLineEdit::returnPressed, this, &DirectoryCard::submitDraft);
    connect(m_addButton, &QAbstractButton::clicked, this, &DirectoryCard::submitDraft);

    m_model = new DirectoryModel(this);
    if (m_spec.terms)
        m_model->setTerms(m_spec.terms);
    m_list = new DirectoryList(this);
    m_list->setModel(m_model);
    body()->addWidget(m_list, 1);
    connect(m_list, &DirectoryList::editRequested, this, &DirectoryCard::startEditing);
    connect(m_list, &DirectoryList::termsRequested, this, &DirectoryCard::startEditingTerms);
    connect(m_list, &DirectoryList::removeRequested, this, [this](const QString& name) {
        if (m_spec.remove)
            m_spec.remove(name);
    });

    connect(&m_store, &Store::dataChanged, this, &DirectoryCard::refreshItems);
    connect(&m_store, &Store::languageChanged, this, &DirectoryCard::retranslate);
    retranslate();
    refreshItems();
}

DirectoryRowEditor* DirectoryCard::rowEditor() const
{
    return m_editor;
}

QString DirectoryCard::draft() const
{
    return m_addField->text();
}

void DirectoryCard::submitDraft()
{
    const QString text = m_addField->text();
    const qsizetype before = m_model->rowCount();
    if (m_spec.add)
        m_spec.add(text);
    m_addField->clear();
    // A new name goes to the end of a list that may be long: bring it into view.
    if (m_model->rowCount() > before)
        m_list->scrollToBottom();
}

void DirectoryCard::startEditing(const QString& name)
{
    if (m_model->rowOf(name) < 0)
        return;
    closeEditor(); // another row's unsaved text is dropped
    m_editingItem = name;
    if (m_spec.terms)
        m_editingTermsDraft = QString::number(m_spec.terms(name));
    m_model->setEditingName(name);
    openEditor(name);
    if (m_editor)
        m_editor->field()->setFocus(Qt::OtherFocusReason);
}

void DirectoryCard::startEditingTerms(const QString& name)
{
    startEditing(name);
    if (m_editor && m_editor->termsField()) {
        m_editor->termsField()->setFocus(Qt::OtherFocusReason);
        m_editor->termsField()->selectAll();
    }
}

void DirectoryCard::openEditor(const QString& draft)
{
    const QModelIndex index = m_model->index(m_model->rowOf(*m_editingItem));
    m_editingIndex = index;
    m_editingDraft = draft;
    m_list->openPersistentEditor(index);
    m_editor = qobject_cast<DirectoryRowEditor*>(m_list->indexWidget(index));
    if (!m_editor)
        return;
    m_editor->setLanguage(m_store.language());
    m_editor->field()->setText(draft);
    if (m_spec.terms) {
        m_editor->showTerms(m_spec.terms(*m_editingItem));
        m_editor->termsField()->setText(m_editingTermsDraft);
        connect(m_editor->termsField(), &QLineEdit::textChanged, this,
                [this](const QString& text) { m_editingTermsDraft = text; });
    }
    connect(m_editor->field(), &QLineEdit::textChanged, this,
            [this](const QString& text) { m_editingDraft = text; });
    connect(m_editor, &DirectoryRowEditor::commitRequested, this, &DirectoryCard::commitEdit);
    connect(m_editor, &DirectoryRowEditor::cancelRequested, this, &DirectoryCard::cancelEdit);
    m_list->scrollTo(index);
}

void DirectoryCard::commitEdit()
{
    if (!m_editingItem)
        return;
    const QString current = *m_editingItem;
    const QString name = Text::trimBlanks(m_editingDraft);
    std::optional<int> days;
    if (m_spec.terms && m_editor) {
        days = m_editor->terms();
        if (!days)
            return; // the field is marked; the edit stays open with everything typed
    }
    closeEditor();
    // Under the name they are stored with now; a rename carries them over.
    if (days && m_spec.setTerms)
        m_spec.setTerms(current, *days);
    // Exact comparison: a change of letter case alone is a rename.
    if (!name.isEmpty() && name != current && m_spec.edit)
        m_spec.edit(current, name);
}

void DirectoryCard::cancelEdit()
{
    closeEditor();
}

void DirectoryCard::discardLocalState()
{
    m_addField->clear();
    closeEditor();
}

void DirectoryCard::closeEditor()
{
    const bool hadFocus = m_editor && m_editor->isAncestorOf(QApplication::focusWidget());
    if (m_editingIndex.isValid())
        m_list->closePersistentEditor(m_editingIndex);
    else if (m_editor)
        m_editor->deleteLater();
    m_editor = nullptr;
    m_editingIndex = QModelIndex();
    m_editingItem.reset();
    m_editingDraft.clear();
    m_editingTermsDraft.clear();
    m_model->setEditingName(QString());
    if (hadFocus)
        m_list->setFocus(Qt::OtherFocusReason);
    // The row that was renamed, or the first one the focus made current, is no choice of the
    // user's: Delete or Return must not act on it.
    if (m_list->selectionModel())
        m_list->selectionModel()->clearCurrentIndex();
}

void DirectoryCard::refreshItems()
{
    m_model->setNames(m_spec.items ? m_spec.items() : QStringList());
    m_model->refreshTerms();
    m_badge->setText(
        DirectoryText::badge(m_store.language(), m_model->rowCount(), m_spec.nounEn, m_spec.nounTr));
    if (!m_editingItem)
        return;
    const int row = m_model->rowOf(*m_editingItem);
    if (row < 0) {
        closeEditor(); // the name left the list and takes its edit with it
    } else if (!m_editingIndex.isValid() || m_editingIndex.row() != row) {
        // The edited name now sits on another row: the editor and its draft follow it.
        const bool hadFocus = m_editor && m_editor->isAncestorOf(QApplication::focusWidget());
        const QString draft = m_editingDraft;
        QWidget* focused = QApplication::focusWidget();
        const bool termsHadFocus = m_editor && focused && focused == m_editor->termsField();
        if (m_editingIndex.isValid())
            m_list->closePersistentEditor(m_editingIndex);
        openEditor(draft);
        if (m_editor && hadFocus) {
            QWidget* field =
                termsHadFocus ? static_cast<QWidget*>(m_editor->termsField()) : m_editor->field();
            field->setFocus(Qt::OtherFocusReason);
        }
    }
}

void DirectoryCard::retranslate()
{
    const AppLanguage language = m_store.language();
    m_title->setText(L10n::tr(language, m_spec.titleEn, m_spec.titleTr));
    m_addField->setPlaceholderText(L10n::tr(language, m_spec.placeholderEn, m_spec.placeholderTr));
    m_addField->setAccessibleName(m_addField->placeholderText());
    m_addButton->setText(DirectoryText::addButton(language, m_spec.nounEn, m_spec.nounTr));
    m_addButton->updateGeometry();
    m_badge->setText(DirectoryText::badge(language, m_model->rowCount(), m_spec.nounEn, m_spec.nounTr));
    m_model->setLanguage(language);
    m_list->setAccessibleName(m_title->text());
    if (m_editor)
        m_editor->setLanguage(language);
}
