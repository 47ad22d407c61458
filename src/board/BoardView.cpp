#include "board/BoardView.h"

#include "board/BoardColumns.h"
#include "board/BoardTablePage.h"
#include "board/StreamControls.h"
#include "board/SummaryPanel.h"
#include "model/Store.h"

#include <QVBoxLayout>

BoardView::BoardView(Store& store, QWidget* parent) : BoardView(store, &BoardTablePage::create, parent) {}

BoardView::BoardView(Store& store, TableFactory table, QWidget* parent)
    : QWidget(parent), m_store(store), m_tableFactory(std::move(table))
{
    setObjectName(QStringLiteral("boardView"));
    m_stack = new QVBoxLayout(this);
    m_stack->setContentsMargins(0, 0, 0, 0);
    m_stack->setSpacing(kSpacing);
    m_summary = new SummaryPanel(store, this);
    m_controls = new StreamControls(store, this);
    m_stack->addWidget(m_summary);
    m_stack->addWidget(m_controls);
    // Room a short table leaves is left below it; without this the layout spreads it between
    // the summary, the controls and the table.
    m_stack->addStretch(0);
    connect(&m_store, &Store::dataChanged, this, &BoardView::syncLayout);
    syncLayout();
}

BoardColumns* BoardView::columns() const
{
    return m_bodyIsTable ? nullptr : static_cast<BoardColumns*>(m_body);
}

QWidget* BoardView::table() const
{
    return m_bodyIsTable ? m_body : nullptr;
}

void BoardView::syncLayout()
{
    const bool wantTable = m_store.data().layout == BoardLayout::table;
    if (m_body && wantTable == m_bodyIsTable)
        return;
    // Switching builds the other presentation afresh; the old one goes with its state.
    delete m_body;
    m_body = nullptr;
    if (wantTable && m_tableFactory)
        m_body = m_tableFactory(m_store, this);
    if (!m_body && !wantTable)
        m_body = new BoardColumns(m_store, this);
    m_bodyIsTable = wantTable;
    if (m_body) {
        m_stack->insertWidget(2, m_body, 1);
        if (m_body->isHidden()) // else it appears with the page, laid out once at its real size
            m_body->show();
    }
}
