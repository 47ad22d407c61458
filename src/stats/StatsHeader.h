#pragma once

#include <QWidget>

class PillSegment;
class QLabel;
class Store;
class YearMenu;

// The statistics page's title block with the year menu and the range selector, over a
// thin line.
class StatsHeader final : public QWidget
{
    Q_OBJECT

public:
    explicit StatsHeader(Store& store, QWidget* parent = nullptr);

    QString title() const;
    QString subtitle() const;
    PillSegment* range() const { return m_range; }
    YearMenu* yearMenu() const { return m_yearMenu; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void retranslate();
    void syncRange();

    Store& m_store;
    QLabel* m_title;
    QLabel* m_subtitle;
    YearMenu* m_yearMenu;
    PillSegment* m_range;
};
