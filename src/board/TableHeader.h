#pragma once

#include "model/StoreTypes.h"

#include <QPointer>
#include <QVector>
#include <QWidget>

class SortHeaderButton;
class Store;

// The header row of the project table: five sortable titles and the plain "EDIT" title on cream,
// laid out on the same cells as the rows. A click sorts through Store::setSort.
class TableHeader final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kHeight = 50;

    // `radius` is the corner radius of the table frame whose top this header fills.
    TableHeader(Store& store, qreal radius, QWidget* parent = nullptr);

    const QVector<SortHeaderButton*>& buttons() const { return m_buttons; }
    SortHeaderButton* button(SortField field) const;
    QString editTitle() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void rebuild();
    void syncMarks();
    void place();

    Store& m_store;
    qreal m_radius;
    QVector<SortHeaderButton*> m_buttons;
};
