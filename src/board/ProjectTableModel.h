#pragma once

#include "board/ProjectListModel.h"

// The rows of the project table: Store::sortedVisibleProjects(), one project per row. Store changes
// are gathered and read once per turn of the event loop, so a click on a header (which may change
// the sort field and the direction) sorts once. Money texts are formatted only for the rows asked for.
class ProjectTableModel final : public ProjectListModel
{
    Q_OBJECT

public:
    explicit ProjectTableModel(Store& store, QObject* parent = nullptr);

    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Reads the Store now (a pending read is then dropped).
    void refresh();
    bool refreshPending() const { return m_pending; }

private:
    void scheduleRefresh();

    bool m_pending = false;
};
