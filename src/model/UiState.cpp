#include "model/UiState.h"

#include <QUuid>

UiState::UiState(QObject* parent) : QObject(parent)
{
    m_toastTimer.setSingleShot(true);
    connect(&m_toastTimer, &QTimer::timeout, this, &UiState::expireToast);
}

namespace {
// Sets a field and emits its signal only when the value really changes.
template <typename T, typename Signal> void assign(UiState* state, T& member, const T& value, Signal signal)
{
    if (member == value)
        return;
    member = value;
    emit(state->*signal)();
}
} // namespace

void UiState::setTab(MainTab tab)
{
    assign(this, m_tab, tab, &UiState::tabChanged);
}

void UiState::setSearchVisible(bool visible)
{
    assign(this, m_searchVisible, visible, &UiState::searchVisibleChanged);
    if (!visible)
        setSearchQuery(QString());
}

void UiState::setSearchQuery(const QString& query)
{
    assign(this, m_searchQuery, query, &UiState::searchQueryChanged);
}

void UiState::setStatsAllTime(bool allTime)
{
    assign(this, m_statsAllTime, allTime, &UiState::statsAllTimeChanged);
}

void UiState::setSortField(SortField field)
{
    assign(this, m_sortField, field, &UiState::sortFieldChanged);
}

void UiState::setSortAscending(bool ascending)
{
    assign(this, m_sortAscending, ascending, &UiState::sortAscendingChanged);
}

void UiState::setSort(SortField field)
{
    if (field == m_sortField) {
        setSortAscending(!m_sortAscending);
    } else {
        setSortField(field);
        setSortAscending(true);
    }
}

void UiState::setEditor(const std::optional<EditorTarget>& target)
{
    assign(this, m_editor, target, &UiState::editorChanged);
}

void UiState::setToast(const std::optional<Toast>& toast)
{
    assign(this, m_toast, toast, &UiState::toastChanged);
}

void UiState::show(const QString& message, bool canUndo, double durationSeconds)
{
    setToast(Toast{QUuid::createUuid(), message, canUndo});
    // The undo key is named: a screen reader user cannot see the button.
    emit announce(canUndo ? message + QStringLiteral(". Undo available, press Ctrl+Z.") : message);
    const int ms = durationSeconds >= 0 ? int(durationSeconds * 1000) : (canUndo ? kUndoToastMs : kToastMs);
    m_toastTimer.start(ms);
}

void UiState::showMergeOffer(const QString& message, const QString& buttonHint)
{
    Toast t{QUuid::createUuid(), message};
    t.offersMerge = true;
    setToast(t);
    emit announce(message + QStringLiteral(". ") + buttonHint);
    m_toastTimer.start(kStartupToastMs);
}

void UiState::expireToast()
{
    m_toastTimer.stop();
    setToast(std::nullopt);
}
