#pragma once

#include "model/StoreTypes.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <optional>

// What the interface shows apart from the document: the tab, the search, the statistics range,
// the table's sort, the open editor and the toast. Nothing here is saved. The Store owns one and
// reads the search and sort from it for its lists.
class UiState final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool searchVisible READ searchVisible WRITE setSearchVisible NOTIFY searchVisibleChanged)
    Q_PROPERTY(QString searchQuery READ searchQuery WRITE setSearchQuery NOTIFY searchQueryChanged)
    Q_PROPERTY(bool statsAllTime READ statsAllTime WRITE setStatsAllTime NOTIFY statsAllTimeChanged)
    Q_PROPERTY(bool sortAscending READ sortAscending WRITE setSortAscending NOTIFY sortAscendingChanged)

public:
    static constexpr int kToastMs = 2400;
    static constexpr int kUndoToastMs = 5000;
    static constexpr int kStartupToastMs = 10000;

    explicit UiState(QObject* parent = nullptr);

    MainTab tab() const { return m_tab; }
    bool searchVisible() const { return m_searchVisible; }
    QString searchQuery() const { return m_searchQuery; }
    bool statsAllTime() const { return m_statsAllTime; }
    SortField sortField() const { return m_sortField; }
    bool sortAscending() const { return m_sortAscending; }
    const std::optional<EditorTarget>& editor() const { return m_editor; }
    const std::optional<Toast>& toast() const { return m_toast; }

    void setTab(MainTab tab);
    // Hiding the search also clears it: a filter nobody sees would hide projects without a trace.
    void setSearchVisible(bool visible);
    void setSearchQuery(const QString& query);
    void setStatsAllTime(bool allTime);
    void setSortField(SortField field);
    void setSortAscending(bool ascending);
    // The same field again turns the order round; another field starts ascending.
    void setSort(SortField field);
    void setEditor(const std::optional<EditorTarget>& target);
    void setToast(const std::optional<Toast>& toast);

    // durationSeconds < 0: 5 s when the toast offers Undo, 2.4 s otherwise.
    void show(const QString& message, bool canUndo = false, double durationSeconds = -1);
    // A toast whose button merges the sync engines' conflict copies; `buttonHint` names the button
    // for a screen reader.
    void showMergeOffer(const QString& message, const QString& buttonHint);
    // Milliseconds the current toast lives in all (tests drive the timer directly).
    int toastLifeMs() const { return m_toastTimer.interval(); }
    void expireToast();

signals:
    void tabChanged();
    void searchVisibleChanged();
    void searchQueryChanged();
    void statsAllTimeChanged();
    void sortFieldChanged();
    void sortAscendingChanged();
    void editorChanged();
    void toastChanged();
    // A toast to announce for accessibility (the message, with the undo hint).
    void announce(const QString& text);

private:
    MainTab m_tab = MainTab::board;
    bool m_searchVisible = false;
    QString m_searchQuery;
    bool m_statsAllTime = false;
    SortField m_sortField = SortField::status;
    bool m_sortAscending = true;
    std::optional<EditorTarget> m_editor;
    std::optional<Toast> m_toast;
    QTimer m_toastTimer;
};
