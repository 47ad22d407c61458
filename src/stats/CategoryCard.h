#pragma once

#include "model/TextTotals.h"

#include <QPointer>
#include <QWidget>

class CategoryPopover;
class CategoryRowsView;
class QLabel;
class ShowAllButton;
class Store;

// How the realised revenue splits over the categories: five positions, and every category
// in a popover from "Show All".
class CategoryCard final : public QWidget
{
    Q_OBJECT

public:
    explicit CategoryCard(Store& store, QWidget* parent = nullptr);

    void setCategories(const QVector<NamedTotal>& categories, double gross);

    // The page's flag for the popover: opening it needs six categories or more.
    bool showAllCategories() const;
    void setShowAllCategories(bool show);
    CategoryPopover* popover() const;

    CategoryRowsView* rows() const { return m_rows; }
    ShowAllButton* showAllButton() const { return m_showAll; }
    QString title() const;
    QString subtitle() const;

private:
    void retranslate();

    Store& m_store;
    QLabel* m_title;
    QLabel* m_subtitle;
    CategoryRowsView* m_rows;
    QWidget* m_divider;
    ShowAllButton* m_showAll;
    QPointer<CategoryPopover> m_popover;
    QVector<NamedTotal> m_categories;
    double m_gross = 0;
};
