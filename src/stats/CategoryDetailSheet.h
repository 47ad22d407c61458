#pragma once

#include "model/TextTotals.h"
#include "stats/Breakdown.h"

#include <QWidget>

class CategoryListModel;
class GlyphButton;
class QLabel;
class QListView;
class Store;

// The full list shown in a breakdown's popover: every row with its figures.
class CategoryDetailSheet final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kWidth = 340;
    static constexpr int kHeight = 360;

    CategoryDetailSheet(Store& store, Breakdown::Kind kind, const QVector<NamedTotal>& categories,
                        double gross, QWidget* parent = nullptr);

    void setCategories(const QVector<NamedTotal>& categories, double gross);
    const QVector<NamedTotal>& categories() const;
    double gross() const;

    QListView* list() const { return m_list; }
    GlyphButton* closeButton() const { return m_close; }
    QString title() const;

signals:
    void dismiss();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void retranslate();

    Store& m_store;
    Breakdown::Kind m_kind;
    QLabel* m_title;
    GlyphButton* m_close;
    CategoryListModel* m_model;
    QListView* m_list;
};
