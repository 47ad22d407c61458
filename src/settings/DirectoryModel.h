#pragma once

#include "model/StoreTypes.h"

#include <QAbstractListModel>
#include <QStringList>

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
    };

    explicit DirectoryModel(QObject* parent = nullptr);

    void setNames(const QStringList& names);
    const QStringList& names() const { return m_names; }
    // The row of the first entry exactly equal to name, -1 when there is none.
    int rowOf(const QString& name) const;

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
};
