#include "settings/DirectoryModel.h"

#include "model/Payments.h"
#include "model/Text.h"
#include "settings/DirectoryText.h"

DirectoryModel::DirectoryModel(QObject* parent) : QAbstractListModel(parent) {}

void DirectoryModel::setNames(const QStringList& names)
{
    if (names == m_names)
        return;
    const int oldCount = int(m_names.size());
    const int newCount = int(names.size());
    const int shorter = std::min(oldCount, newCount);
    int prefix = 0;
    while (prefix < shorter && m_names[prefix] == names[prefix])
        ++prefix;
    int suffix = 0;
    while (suffix < shorter - prefix && m_names[oldCount - 1 - suffix] == names[newCount - 1 - suffix])
        ++suffix;
    const int oldMiddle = oldCount - prefix - suffix;
    const int newMiddle = newCount - prefix - suffix;
    const int replaced = std::min(oldMiddle, newMiddle);

    if (replaced > 0) {
        for (int i = prefix; i < prefix + replaced; ++i)
            m_names[i] = names[i];
        emit dataChanged(index(prefix), index(prefix + replaced - 1));
    }
    const int at = prefix + replaced;
    if (oldMiddle > newMiddle) {
        beginRemoveRows(QModelIndex(), at, at + oldMiddle - newMiddle - 1);
        m_names = names;
        endRemoveRows();
    } else if (newMiddle > oldMiddle) {
        beginInsertRows(QModelIndex(), at, at + newMiddle - oldMiddle - 1);
        m_names = names;
        endInsertRows();
    }
    // Share the caller's list from now on: later comparisons are then a pointer check.
    m_names = names;
}

int DirectoryModel::rowOf(const QString& name) const
{
    return int(m_names.indexOf(name));
}

void DirectoryModel::setTerms(std::function<int(const QString&)> terms)
{
    m_terms = std::move(terms);
    refreshTerms();
}

void DirectoryModel::refreshTerms()
{
    if (!m_terms)
        return;
    QHash<QString, int> now;
    now.reserve(m_names.size());
    int first = -1;
    int last = -1;
    for (int i = 0; i < m_names.size(); ++i) {
        const QString& name = m_names[i];
        const int days = m_terms(name);
        const auto shown = m_shownTerms.constFind(name);
        if (shown != m_shownTerms.constEnd() && *shown != days) {
            if (first < 0)
                first = i;
            last = i;
        }
        now.insert(name, days);
    }
    m_shownTerms = std::move(now);
    // One signal however many changed: a reload may change many at once.
    if (first >= 0)
        emit dataChanged(index(first), index(last),
                         {TermsRole, TermsTextRole, Qt::AccessibleDescriptionRole});
}

void DirectoryModel::setLanguage(AppLanguage language)
{
    if (language == m_language)
        return;
    m_language = language;
    if (!m_names.isEmpty())
        emit dataChanged(
            index(0), index(int(m_names.size()) - 1),
            {EditLabelRole, RemoveLabelRole, TermsLabelRole, TermsTextRole, Qt::AccessibleDescriptionRole});
}

void DirectoryModel::setEditingName(const QString& name)
{
    if (name == m_editingName)
        return;
    const QString old = m_editingName;
    m_editingName = name;
    touchRowsNamed(old);
    touchRowsNamed(name);
}

void DirectoryModel::touchRowsNamed(const QString& name)
{
    if (name.isEmpty())
        return;
    const int row = rowOf(name);
    if (row >= 0)
        emit dataChanged(index(row), index(row), {EditingRole});
}

int DirectoryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_names.size());
}

QVariant DirectoryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= m_names.size())
        return {};
    const QString& name = m_names[index.row()];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return name;
    case Qt::AccessibleTextRole:
        return Text::shown(name);
    case Qt::AccessibleDescriptionRole: {
        QString description =
            DirectoryText::editLabel(m_language, Text::shown(name)) + QStringLiteral(" (F2), ") +
            DirectoryText::removeLabel(m_language, Text::shown(name)) + QStringLiteral(" (Delete)");
        if (m_terms)
            description += QStringLiteral("; ") + Payments::termsText(m_terms(name), m_language);
        return description;
    }
    case TermsRole:
        return m_terms ? QVariant(m_terms(name)) : QVariant();
    case TermsLabelRole:
        return m_terms ? QVariant(DirectoryText::termsLabel(m_language, Text::shown(name))) : QVariant();
    case TermsTextRole:
        return m_terms ? QVariant(Payments::termsText(m_terms(name), m_language)) : QVariant();
    case EditLabelRole:
        return DirectoryText::editLabel(m_language, Text::shown(name));
    case RemoveLabelRole:
        return DirectoryText::removeLabel(m_language, Text::shown(name));
    case EditingRole:
        // Only the first of equal names is edited.
        return !m_editingName.isEmpty() && name == m_editingName && index.row() == rowOf(m_editingName);
    default:
        return {};
    }
}

Qt::ItemFlags DirectoryModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}
