#pragma once

#include "model/AppData.h"
#include "model/Backups.h"
#include "model/DiskState.h"
#include "model/HexColor.h"
#include "model/Payments.h"
#include "model/StoreTypes.h"
#include "model/UiState.h"

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

class QFileSystemWatcher;
class SaveQueue;

// The one observable model object: the live document, its operations, loading and saving, and the
// figures; the interface state beside it in ui(). Views read it and call its named operations;
// they never change the document themselves.
class Store final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int activeYear READ activeYear WRITE setActiveYear NOTIFY activeYearChanged)

public:
    static constexpr int kSaveDelayMs = 400;
    // A start reads the data file only up to this size.
    static constexpr qint64 kMaxDataFileBytes = qint64(256) << 20;

    // The normal start: data folder under the per-user application-data folder.
    explicit Store(bool sampleOnly = false, QObject* parent = nullptr);
    // The same with an explicit data folder (tests, tools).
    Store(const QString& dataFolder, bool sampleOnly, QObject* parent = nullptr);
    ~Store() override;

    static QString defaultDataFolder();
    // turkishCase: names that differ only in Turkish case (I/ı, İ/i) are one name.
    static Load load(const QString& filePath, const QString& dataFolder, bool turkishCase = false);
    static void sanitize(AppData& data, bool& changed, bool turkishCase = false);
    // Moves an unreadable data file aside as tallybrook-unreadable-SECONDS.json, where the backups
    // list shows it.
    static bool setAside(const QString& filePath, const QString& dataFolder);
    // What a start does to a document it read: dates to local noon, the repairs, shared texts.
    // mayPinZone: no other thread runs yet, so TZ may be set for a moment to spare the C library
    // a look at /etc/localtime per conversion.
    static void repairLoaded(AppData& data, bool turkishCase, bool& changed, bool mayPinZone = false);

    // --- fields -------------------------------------------------------------
    const AppData& data() const { return m_data; }
    UiState& ui() { return m_ui; }
    const UiState& ui() const { return m_ui; }
    int activeYear() const { return m_activeYear; }
    AppLanguage language() const { return m_language; }
    const std::optional<DeletedProject>& lastDeleted() const { return m_lastDeleted; }
    QString fileURL() const { return m_fileURL; }
    bool savingBlocked() const { return m_savingBlocked; }
    // A change waits for the debounce before its save starts.
    bool hasPendingSave() const { return m_saveTimer.isActive(); }
    // True while the document has changes that no successful write holds yet.
    bool hasUnsavedChanges() const { return m_unsaved; }
    // True while a save is being encoded or written off the GUI thread, or waits to be.
    bool isSaving() const;

    void setActiveYear(int year);
    // Also writes the "app_language" preference, every time.
    void setLanguage(AppLanguage language);
    // The user's choice of language: set, and confirmed with a toast in the new language.
    void chooseLanguage(AppLanguage language);

    // --- saving -------------------------------------------------------------------
    // Saves run off the GUI thread; these two wait for them. When either returns, the file is
    // written (or the failure reported) and saved() has been emitted for every finished save.
    // Runs the pending debounced save now (tests, tools).
    void flushPendingSave();
    // The quit hook: waits for a save in flight, then writes a pending save, and also changes
    // an earlier save failed to write.
    void saveBeforeQuit();
    // Tests: how the bytes reach the disk (held, slowed or failed at will). Runs on the saving
    // thread; by default AtomicWrite::write.
    void
    setSaveWriter(std::function<bool(const QString& path, const QByteArray& bytes, QString* error)> writer);

    // --- operations -------------------------------------------------------------
    // Replaces the document in one step, as a load does: how tests, tools and benchmarks set up
    // a document. Views use the named operations below.
    void update(const std::function<void(AppData&)>& change);
    // Adds or replaces the project, and shows its year when that is not the active one.
    void save(Project project);
    // Clamped to 0-100; text that is no number never reaches here.
    void setTaxRate(double percent);
    void setBoardLayout(BoardLayout layout);
    void setTargetGoal(double dollars);
    // Confirmed with a toast.
    void setCurrency(const QString& code);
    void deleteProject(const QUuid& id);
    void undoDelete();
    // A change of status, by any path (drop, menu, keyboard, editor), sets the payment days by
    // Payments::applyMove with the client's terms and today's date. A move's toast offers Undo.
    void move(const QUuid& id, Status to);
    // Puts back the status and payment days the last move (or drop of several cards) found.
    void undoMove();
    bool canUndoMove() const { return !m_lastMove.isEmpty(); }
    bool handleDrop(const QStringList& texts, Status onto);
    bool handleTrashDrop(const QStringList& texts);
    void moveColumn(Status column, int by);
    void addClient(const QString& name);
    void addCategory(const QString& name);
    void editClient(const QString& from, const QString& to);
    void editCategory(const QString& from, const QString& to);
    // Renaming a client carries its payment terms; removing it drops them.
    void removeClient(const QString& name);
    // Days a client has to pay, 0 (due on receipt) to AppData::kMaxTermsDays; the default is not stored.
    int paymentTerms(const QString& client) const { return m_data.termsDays(client); }
    void setPaymentTerms(const QString& client, int days);
    // The forecast's weights of pending and in-the-works fees, as percentages clamped to 0-100.
    double forecastPendingPercent() const;
    double forecastOngoingPercent() const;
    void setForecastWeights(double pendingPercent, double ongoingPercent);
    void removeCategory(const QString& name);
    void setColumnColor(Status status, const Rgb& color);
    void resetColumnColors();
    void eraseAll();
    void restoreSample();

    // --- CSV (StoreCsv.cpp) ------------------------------------------------------------
    // Writes the active year's projects, or every year's, to `path` (CsvExport); a toast says
    // how many, or why not.
    bool exportCsv(const QString& path, bool allYears);
    // Adds the projects (from CsvImport's preview) before the others, in the order given, and
    // their clients and categories that the directories lack, as one step that Undo takes back.
    // Clients and categories are matched to the directories' spelling ignoring case; a project
    // without an id gets a new one. Returns how many were added.
    int importProjects(const QVector<Project>& projects);
    // True while the last import is the last change.
    bool canUndoImport() const;

    // --- backups ------------------------------------------------------------------
    QString dataFolder() const;
    // The clock of the rolling backups (tests drive it).
    void setBackupClock(BackupKeeper::Clock clock);
    // A backup or a set-aside file read as a start reads the data file, repairs included, and
    // never moved or changed.
    std::optional<AppData> readDocument(const QString& path, QString* error) const;
    // The same on any thread, with the case rules given.
    static std::optional<AppData> readDocument(const QString& path, bool turkishCase, QString* error);
    // Backs up the document in use, then puts the one in `path` in its place as one step, which
    // Undo takes back. False, with a toast saying why, when either cannot be done.
    bool restoreBackup(const QString& path);
    // Takes back the last step that can be: a restore, an import, a move, or a deletion.
    void undo();
    // True while the last restore is the last change.
    bool canUndoRestore() const;

    // --- the file on disk ----------------------------------------------------------
    // Another program (a sync engine) may change the data file. A save never replaces a version
    // it has not seen: it merges with it first. Watching makes an outside change show at once.
    static constexpr int kDiskSettleMs = 300;
    void startWatching();
    // Looks at the file now, as the watcher does once the file has settled (tests call it).
    void checkDisk();
    // Merges the copies sync engines leave beside the file when two computers changed it at once
    // (offered by a toast when they appear), then moves them into the backups folder.
    void mergeConflictCopies();
    // The conflict copies beside the data file that have not been merged yet.
    QStringList conflictCopies() const;

    // --- data folder (StoreFolder.cpp) -------------------------------------------------
    // What to do when the chosen folder already holds a data file: nothing chosen (refused),
    // take that file as the document, or back it up and write the document over it.
    enum class FolderChoice : quint8 { none, useExisting, replace };
    struct FolderResult
    {
        bool ok = false;
        QString error; // why, when not ok
    };
    // The folder this computer's "dataFolder" preference names (the default when there is
    // none). One that is missing or cannot take a file gives the default, with the reason.
    static QString preferredDataFolder(QString* unusableReason = nullptr);
    // The folder the preference names when it is an absolute path, else the default: where a
    // start most likely reads, found without trying the folder as the one above does (it writes
    // a probe file there).
    static QString namedDataFolder();
    // True when `folder` is a folder that takes a new file; `make` makes it first when missing.
    static bool folderUsable(const QString& folder, bool make, QString* error);
    static bool holdsDataFile(const QString& folder);
    // The size of the document in `folder`; 0 when there is none.
    static qint64 dataFileSize(const QString& folder);
    // Copies the document into `folder`, reads the copy back, and only when it reads as the
    // document switches saving (and backups) there and writes the preference. On failure
    // nothing switches and a toast says why.
    FolderResult changeDataFolder(const QString& folder, FolderChoice choice = FolderChoice::none);
signals:
    void dataFolderChanged();

public:
    // --- derived figures ----------------------------------------------------------
    QVector<int> years() const;
    QVector<Project> yearProjects() const;
    QVector<Project> visibleProjects() const;
    QVector<Project> sortedVisibleProjects() const;
    QVector<Project> projects(Status in) const;
    double total(Status status) const;
    QVector<Project> paidThisYear() const;
    // The tax rate applied to the paid fees less their outsourcing; netAfterTax() is what remains.
    double estimatedTax() const;
    double netAfterTax() const;
    double targetProgress() const;
    // The fees of every project of the active year, whatever its status.
    double pipelineTotal() const;
    double collectionRate() const;
    QString money(double amount) const;
    QString percent(double fraction) const;
    QString tabTitle(MainTab tab) const;
    Rgb columnColor(Status status) const;
    // The text of a pair in the current language.
    QString tr(const QString& en, const QString& tr) const;
    // Plain literals would silently pick QObject's static tr() and stay English: make such
    // calls ambiguous, so they fail to compile. Wrap pair texts in QStringLiteral.
    QString tr(const char* en, const char* tr) const = delete;

    // Today in the local calendar, from the clock (tests set it).
    QDate today() const { return m_today ? m_today() : QDate::currentDate(); }
    void setToday(std::function<QDate()> today)
    {
        m_today = std::move(today);
        m_knownDay = this->today();
    }
    // Emits dayChanged when today() is no longer the day it last saw (a timer asks at midnight).
    void checkDay();

    // --- payments (the active year, as of today()) -------------------------------------
    // "Due in 5 days" etc. for a card or table row; empty when there is nothing to show.
    QString dueText(const Project& project) const;
    Payments::Overdue overdue() const;
    // "Overdue: $4,300 in 2 projects"; empty when nothing is overdue.
    QString overdueSummary() const;
    // The chase list for "Copy as Text".
    QString chaseListText() const;
    // Of the statistics range: the active year, or every year when `allTime`.
    Payments::DaysToPay daysToPay(bool allTime) const;
    Payments::Forecast forecast() const;
    // "Forecast: $96,400 · 80% of target"; empty when the target is 0.
    QString forecastText() const;

    static int currentYear();
    // Client and category names follow Turkish case rules when the interface or the system
    // speaks Turkish.
    bool turkishCase() const;

signals:
    void dataChanged();
    void activeYearChanged();
    void languageChanged();
    // The dollar-to-lira rate changed: every money text must be formatted again.
    void rateChanged();
    // A new day began: texts counted in days from today ("Due in 5 days") are out of date.
    void dayChanged();
    // Emitted after each attempted write (tests, diagnostics).
    void saved(bool ok);

private:
    // The active year's paid fees less their outsourcing.
    double paidProfit() const;
    void init(const QString& dataFolder, bool sampleOnly);
    void undoImport();
    // The normal start, in the preferred folder or, failing it, the default (StoreFolder.cpp).
    void initInPreferredFolder();
    void changeData(const std::function<void(AppData&)>& change);
    // Sets the status of the project at `index`; the cached lists follow without a rebuild.
    // Also sets the payment days by the move rule, or exactly `days` when given (an undo).
    void changeStatus(int index, Status to, const Payments::StatusDays* days = nullptr);
    void scheduleSave();
    // Hands a snapshot of the document to the saving thread.
    void startSave();
    // Waits for the saving thread and reports every finished save.
    void settleSaves();
    // Reports finished saves: toast on failure, saved(ok) for each.
    void takeSaveResults();
    void addDirectoryEntry(QStringList AppData::*list, const QString& name, const QString& en,
                           const QString& tr);
    void editDirectoryEntry(QStringList AppData::*list, QString Project::*field, const QString& from,
                            const QString& to, const QString& doneEn, const QString& doneTr,
                            const std::function<void(AppData&, const QString& to)>& alsoChange = {});
    void removeDirectoryEntry(QStringList AppData::*list, const QString& name, const QString& en,
                              const QString& tr);
    // The version on disk changed: reloads it, or merges it with this document's changes.
    // False when it could not be read (then nothing changes).
    bool takeDiskVersion();
    void rearmWatch();
    // The file on disk is another one now (a change of data folder): known as read, and watched.
    void retargetDisk();
    // again: offers copies already offered too, when other news took the offer's place.
    void offerConflictCopies(bool again = false);
    // Each version read or written is remembered with its modification time: a conflict copy is
    // merged against the newest one older than the copy, the version both sides started from.
    void rememberDiskVersion(const AppData& data, qint64 modifiedNs);
    // Keeps the other side's values of conflicting fields where the backups list shows them.
    void keepConflict(const AppData& otherSideWins);
    // Sets an outside file that cannot be read aside, so that a save may take its place.
    void setAsideUnreadable();

    AppData m_data;
    int m_activeYear = 0;
    AppLanguage m_language = AppLanguage::en;
    UiState m_ui;
    std::optional<DeletedProject> m_lastDeleted;
    // What the last move changed, project by project (several for one drop).
    QVector<std::pair<QUuid, Payments::StatusDays>> m_lastMove;
    std::function<QDate()> m_today;
    std::optional<AppData> m_beforeRestore;
    quint64 m_restoreGeneration = 0;
    // The document before the last import, while that import is the last change.
    std::optional<AppData> m_beforeImport;
    quint64 m_importGeneration = 0;
    std::unique_ptr<BackupKeeper> m_backups;
    bool m_backupFailureShown = false;
    QString m_fileURL;
    bool m_savingBlocked = false;
    bool m_sampleOnly = false;
    bool m_unsaved = false;
    QTimer m_saveTimer;
    QTimer m_dayTimer;
    QDate m_knownDay;
    void armDayTimer();
    // Counts changes to be saved; a save's result names the change it holds.
    quint64 m_saveSerial = 0;
    std::unique_ptr<SaveQueue> m_saves;
    // The file on disk: what the saving thread may replace, and the last version read or written
    // there (the common ancestor of a merge).
    std::shared_ptr<DiskState> m_disk = std::make_shared<DiskState>();
    AppData m_diskBase;
    struct DiskVersion
    {
        qint64 modifiedNs = 0;
        AppData data;
    };
    QVector<DiskVersion> m_diskVersions; // oldest first
    QDateTime m_lastLocalChange;
    QFileSystemWatcher* m_watcher = nullptr;
    QTimer m_diskCheck;
    bool m_unreadableWarned = false;
    QStringList m_offeredCopies;

    // A project's texts that the search looks through, in lower case.
    struct SearchTexts
    {
        QString name;
        QString client;
        QString category;
    };
    // The derived project lists, built on first use and kept while the document, the active
    // year and the search text stay the same: a board redraw reads them many times per change.
    // A new search text rebuilds only the lists it filters.
    struct ListCache
    {
        quint64 generation = 0;
        int year = 0;
        QString query;
        // Positions in data.projects of the active year's projects, in document order.
        std::optional<QVector<int>> yearIndex;
        // Beside yearIndex, each project's SearchTexts: lowered once per document change rather
        // than with every key typed into the search.
        std::optional<QVector<SearchTexts>> yearSearchTexts;
        std::optional<QVector<Project>> yearProjects;
        std::optional<QVector<Project>> visible;
        std::optional<QVector<Project>> byStatus[3];
        std::optional<QVector<Project>> paid;
    };
    bool listsCurrent() const;
    // Drops the cached lists when what they were built from has changed.
    void validateLists() const;
    // Moves one year project between the cached per-status lists (status already changed).
    void patchListsForStatus(int index, Status from, Status to);
    const QVector<int>& yearIndex() const;
    const QVector<SearchTexts>& yearSearchTexts() const;
    // The search text as the lists are filtered by it: trimmed and in lower case.
    static QString searchKey(const QString& query);
    // q: a searchKey.
    static bool matchesSearch(const SearchTexts& texts, const QString& q);
    // Counts document changes; a cache of another generation is stale.
    quint64 m_generation = 1;
    mutable ListCache m_lists;
};
