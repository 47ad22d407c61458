#pragma once

#include <QWidget>

class PillSegment;
class QLabel;
class Store;
class TrashZone;

// The row between the summary and the projects: the "PROJECT STREAM" title, the columns/rows
// switch bound to the document's layout, the drag hint and the trash zone.
class StreamControls final : public QWidget
{
    Q_OBJECT

public:
    explicit StreamControls(Store& store, QWidget* parent = nullptr);

    PillSegment* layoutSwitch() const { return m_switch; }
    TrashZone* trash() const { return m_trash; }
    QLabel* title() const { return m_title; }
    QLabel* hint() const { return m_hint; }

private:
    void retranslate();
    void syncLayout();

    Store& m_store;
    QLabel* m_title;
    PillSegment* m_switch;
    QLabel* m_hintIcon;
    QLabel* m_hint;
    TrashZone* m_trash;
};
