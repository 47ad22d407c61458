#pragma once

#include "model/StoreTypes.h"

#include <QAbstractListModel>
#include <QHash>
#include <QStringList>
#include <functional>

// The names of one directory as a list model. A new list is applied as the smallest change
// (rows renamed in place, inserted or removed), so the view keeps its scroll position and the
// row being edited keeps its editor.
class DirectoryModel final : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role {
        EditLabelRole = Qt::UserRole + 1, // "Edit Acme" in the current language
        RemoveLabelRole,                  // "Remove Acme from the list"
        EditingRole,                      // true for the row in edit mode
        TermsRole,                        // the client's payment terms in days; none on other lists
        TermsLabelRole,                   // "Payment terms of Acme"
        TermsTextRole,                    // "30-day terms", "due on receipt"
    };

    explicit DirectoryModel(QObject* parent = nullptr);

    void setNames(const QStringList& names);
    const QStringList& names() const { return m_names; }
    // The row of the first entry exactly equal to name, -1 when there is none.
    int rowOf(const QString& name) const;

    // A list of clients reads each one's payment terms here; other lists have none.
    void setTerms(std::function<int(const QString& name)> terms);
    bool hasTerms() const { return bool(m_terms); }
    // The terms may have changed: rows whose terms did are repainted (a renamed or new row is
    // repainted by setNames already).
    void refreshTerms();

    void setLanguage(AppLanguage language);
    AppLanguage language() const { return m_language; }
    // The name whose row is in edit mode; empty for none.
    void setEditingName(const QString& name);
    QString editingName() const { return m_editingName; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void touchRowsNamed(const QString& name);

    QStringList m_names;
    AppLanguage m_language = AppLanguage::en;
    QString m_editingName;
    std::function<int(const QString&)> m_terms;
    QHash<QString, int> m_shownTerms;
};
