#pragma once

#include <QAccessibleWidget>
#include <QHash>
#include <QPersistentModelIndex>

class DirectoryList;

// What a screen reader sees of a directory list: one item per name, each offering its Edit and
// Remove buttons (and a client's payment terms) as actions under their own labels. Rows are
// painted, not widgets, so their interfaces are made when first asked for.
class DirectoryListAccessible final : public QAccessibleWidget
{
public:
    explicit DirectoryListAccessible(DirectoryList* list);
    ~DirectoryListAccessible() override;

    // Installed once; answers for DirectoryList only.
    static void install();

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

private:
    DirectoryList* list() const;

    mutable QHash<QPersistentModelIndex, QAccessible::Id> m_rows;
};
