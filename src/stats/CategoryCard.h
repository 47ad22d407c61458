#pragma once

#include "model/TextTotals.h"
#include "stats/Breakdown.h"

#include <QPointer>
#include <QWidget>

class CategoryPopover;
class CategoryRowsView;
class QLabel;
class ShowAllButton;
class Store;

// A breakdown in five positions, and every row in a popover from "Show All": how the realised
// revenue splits over the categories, or which clients take longest to pay.
class CategoryCard final : public QWidget
{
    Q_OBJECT

public:
    CategoryCard(Store& store, Breakdown::Kind kind, QWidget* parent = nullptr);

    Breakdown::Kind kind() const { return m_kind; }
    void setCategories(const QVector<NamedTotal>& categories, double gross);

    // The page's flag for the popover: opening it needs six rows or more.
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
    Breakdown::Kind m_kind;
    QLabel* m_title;
    QLabel* m_subtitle;
    CategoryRowsView* m_rows;
    QWidget* m_divider;
    ShowAllButton* m_showAll;
    QPointer<CategoryPopover> m_popover;
    QVector<NamedTotal> m_categories;
    double m_gross = 0;
};
