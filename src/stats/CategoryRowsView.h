#pragma once

#include "model/TextTotals.h"
#include "stats/Breakdown.h"

#include <QWidget>

class Store;

// The card's five positions, painted: the rows in their order (largest first), greyed
// placeholders where there are fewer than five.
class CategoryRowsView final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kRows = 5;
    static constexpr int kSpacing = 17;
    static constexpr int kTop = 10;
    static constexpr int kBottom = 20;

    CategoryRowsView(Store& store, Breakdown::Kind kind, QWidget* parent = nullptr);

    // Keeps the first five of `categories`; `gross` is the total their shares are of.
    void setCategories(const QVector<NamedTotal>& categories, double gross);
    const QVector<NamedTotal>& shown() const { return m_shown; }
    double gross() const { return m_gross; }
    // How far the track of position i fills, 0 to 1.
    double share(int position) const;
    int placeholderCount() const { return kRows - int(m_shown.size()); }
    // The rectangle of position i (0 to 4).
    QRectF rowRect(int position) const;
    // The name and figures texts drawn at position i, as the reader sees them.
    QString nameText(int position) const;
    QString figuresText(int position) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void refreshAccessibility();

    Store& m_store;
    Breakdown::Kind m_kind;
    QVector<NamedTotal> m_shown;
    double m_gross = 0;
};
