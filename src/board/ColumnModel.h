#pragma once

#include "board/ProjectListModel.h"
#include "model/Status.h"

// The projects of one board column (Store::projects(in:)), kept in step with the Store by
// diffing: a move between columns is one removed row here and one inserted row there, so views
// only re-lay out what changed.
class ColumnModel final : public ProjectListModel
{
    Q_OBJECT

public:
    ColumnModel(Store& store, Status status, QObject* parent = nullptr);

    Status status() const { return m_status; }
    double feeSum() const { return m_feeSum; }

    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Reads the Store again and reports the difference as row changes.
    void refresh();

signals:
    // The fee sum or the count may have changed (the header redraws).
    void summaryChanged();

private:
    // Inserts from[begin, end) at row `at` of our own list.
    void spliceIn(int at, const QVector<Project>& from, int begin, int end);
    void recomputeSum();

    Status m_status;
    double m_feeSum = 0;
};
