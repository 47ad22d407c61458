#pragma once

#include <QWidget>
#include <functional>

class BoardColumns;
class QVBoxLayout;
class StreamControls;
class Store;
class SummaryPanel;

// The board page: the summary panel, the board controls, and the projects of the active year as
// status columns or, with the table layout, as the project table.
class BoardView final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kSpacing = 28;
    using TableFactory = std::function<QWidget*(Store& store, QWidget* parent)>;

    // The table comes from BoardTablePage::create unless another factory is given.
    explicit BoardView(Store& store, QWidget* parent = nullptr);
    BoardView(Store& store, TableFactory table, QWidget* parent = nullptr);

    SummaryPanel* summary() const { return m_summary; }
    StreamControls* controls() const { return m_controls; }
    // The columns while the layout is "columns", else nullptr.
    BoardColumns* columns() const;
    // The table while the layout is "table", else nullptr.
    QWidget* table() const;

private:
    void syncLayout();

    Store& m_store;
    TableFactory m_tableFactory;
    QVBoxLayout* m_stack;
    SummaryPanel* m_summary;
    StreamControls* m_controls;
    QWidget* m_body = nullptr;
    bool m_bodyIsTable = false;
};
