#include "model/Store.h"

#include "i18n/CurrencyRate.h"
#include "i18n/L10n.h"
#include "model/AtomicWrite.h"
#include "model/DataFile.h"
#include "model/FolderNames.h"
#include "model/Pages.h"
#include "model/Preferences.h"
#include "model/SaveQueue.h"
#include "model/Text.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <emmintrin.h>
#include <exception>
#include <fcntl.h>
#include <malloc.h>
#include <memory>
#include <new>
#include <optional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

const QString kDataFileName = QStringLiteral("tallybrook.json");

// From this size a file is read through a mapping of it.
constexpr size_t kMapFrom = size_t(4) << 20;
// From this size a file read into memory is indexed on a second thread while it is read, a chunk
// at a time.
constexpr size_t kIndexAheadFrom = size_t(4) << 20;
constexpr size_t kIndexAheadChunk = size_t(2) << 20;

struct Rule
{
    const char* find;
    const char* replace;
};

// Names used by an older sample studio.
constexpr Rule kNameRules[] = {
    {"Quillstone Studio", "Aura Creative Studio"},
    {"Quillstone", "Aura"},
    {"Larimer Foods", "Solstice Botanicals"},
    {"Larimer", "Solstice"},
};
constexpr Rule kClientRules[] = {
    {"Quillstone Studio", "Aura Creative Studio"},
    {"Quillstone", "Aura Creative Studio"},
    {"Larimer Foods", "Solstice Botanicals"},
    {"Larimer", "Solstice Botanicals"},
};

// Whether a text holds a 'Q' or an 'L', eight characters at a time.
bool holdsQOrL(const QString& text)
{
    const char16_t* p = reinterpret_cast<const char16_t*>(text.constData());
    const qsizetype n = text.size();
    const __m128i q = _mm_set1_epi16(short(u'Q'));
    const __m128i l = _mm_set1_epi16(short(u'L'));
    qsizetype i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        if (_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(block, q), _mm_cmpeq_epi16(block, l))))
            return true;
    }
    for (; i < n; ++i) {
        if (p[i] == u'Q' || p[i] == u'L')
            return true;
    }
    return false;
}

template <size_t N> QString applyRules(QString text, const Rule (&rules)[N])
{
    // Every rule's text starts with "Quillstone" or "Larimer"; most names hold neither, and
    // looking for the two capitals first is much cheaper than two substring searches.
    if (!holdsQOrL(text) ||
        (!text.contains(QLatin1String("Quillstone")) && !text.contains(QLatin1String("Larimer"))))
        return text;
    for (const Rule& r : rules)
        text.replace(QString::fromUtf8(r.find), QString::fromUtf8(r.replace), Qt::CaseSensitive);
    return text;
}

// De-duplicates a directory by lower-case key; an all-capitals entry gives way to a
// later spelling that is not all capitals.
QHash<QString, QString> dedupeDirectory(QStringList& list, bool clientRules, bool turkishCase, bool& changed)
{
    QHash<QString, QString> lookup;
    QHash<QString, qsizetype> position;
    QStringList out;
    for (const QString& entry : std::as_const(list)) {
        QString text = Text::trimBlanks(entry);
        if (clientRules)
            text = applyRules(text, kClientRules);
        if (text.isEmpty())
            continue;
        const QString key = Text::foldCase(text, turkishCase);
        const auto it = lookup.find(key);
        if (it == lookup.end()) {
            lookup.insert(key, text);
            position.insert(key, out.size());
            out.append(text);
        } else if (*it == it->toUpper() && text != text.toUpper()) {
            *it = text;
            out[position.value(key)] = text;
            changed = true;
        }
    }
    if (out != list) {
        list = out;
        changed = true;
    }
    return lookup;
}

// The ids of projects in one flat table: a document's ids are random, so their own bits spread
// them, and a look-up costs a fraction of QSet<QUuid>'s. A slot holds the project's place and a
// tag of its id's hash (8 bytes, where a copy of the id took 17): a large list's table is fresh
// memory, which costs more than the look-ups. In pages of its own, it leaves nothing behind in
// the heap after a load.
class IdSet
{
public:
    IdSet(const Project* projects, qsizetype count)
        : m_projects(projects), m_mask(tableSize(count) - 1), m_pages((m_mask + 1) * sizeof(quint64))
    {
        // Zeros: empty; otherwise the place + 1 below the tag.
        m_slots = static_cast<quint64*>(m_pages.data());
        if (!m_slots)
            throw std::bad_alloc();
    }
    // The slot a hash's look-up starts at, asked for ahead of the look-up: a large table is
    // larger than the processor's cache, and a look-up that waits for its slot waits for memory.
    void prefetch(quint64 h) const { __builtin_prefetch(&m_slots[size_t(h) & m_mask], 1); }

    // False when the id of the project at `index`, whose hash is `h`, was in already.
    bool insert(qsizetype index, quint64 h)
    {
        const QUuid& id = m_projects[index].id;
        const quint64 tag = h & ~quint64(UINT32_MAX);
        for (size_t i = size_t(h) & m_mask;; i = (i + 1) & m_mask) {
            const quint64 slot = m_slots[i];
            if (slot == 0) {
                m_slots[i] = tag | quint64(quint32(index + 1));
                return true;
            }
            if ((slot & ~quint64(UINT32_MAX)) == tag && m_projects[quint32(slot) - 1].id == id)
                return false;
        }
    }

    static quint64 hash(const QUuid& id)
    {
        quint64 h = (quint64(id.data1) << 32 | quint64(id.data2) << 16 | id.data3) * 0x9E3779B97F4A7C15ull;
        quint64 tail;
        std::memcpy(&tail, id.data4, 8);
        h ^= tail * 0xC2B2AE3D27D4EB4Full;
        return h ^ (h >> 31);
    }

private:
    const Project* m_projects;
    size_t m_mask;
    Pages m_pages;
    quint64* m_slots;

    static size_t tableSize(qsizetype count)
    {
        size_t n = 16;
        while (n < size_t(count) * 2)
            n *= 2;
        return n;
    }
};

// A value worked out once per text buffer: equal client and category texts share one buffer
// after reading, so most projects find theirs by the buffer's address. The text is kept with
// the value, so its buffer lives (and its address stays taken) as long as the entry.
template <typename V> class PerBuffer
{
public:
    template <typename Make> const V& value(const QString& text, Make make)
    {
        // Open addressing on the address: a few hundred buffers serve 100,000 projects.
        if (m_used * 2 >= m_slots.size())
            grow();
        const QChar* key = text.constData();
        const size_t mask = m_slots.size() - 1;
        for (size_t i = hash(key) & mask;; i = (i + 1) & mask) {
            Slot& slot = m_slots[i];
            if (!slot.entry) {
                m_entries.push_back(std::make_unique<Entry>(Entry{text, make(text)}));
                slot.key = key;
                slot.entry = m_entries.back().get();
                ++m_used;
                return slot.entry->value;
            }
            if (slot.key == key) {
                if (slot.entry->text.size() != text.size()) // another text at that address
                    *slot.entry = Entry{text, make(text)};
                return slot.entry->value;
            }
        }
    }

private:
    struct Entry
    {
        QString text;
        V value;
    };
    struct Slot
    {
        const QChar* key = nullptr;
        Entry* entry = nullptr;
    };
    std::vector<Slot> m_slots = std::vector<Slot>(64);
    std::vector<std::unique_ptr<Entry>> m_entries; // stable while the table grows
    size_t m_used = 0;

    static size_t hash(const QChar* key)
    {
        const quint64 h = quint64(reinterpret_cast<quintptr>(key)) * 0x9E3779B97F4A7C15ull;
        return size_t(h ^ (h >> 29));
    }
    void grow()
    {
        std::vector<Slot> old(m_slots.size() * 2);
        old.swap(m_slots);
        const size_t mask = m_slots.size() - 1;
        for (const Slot& o : old) {
            if (!o.entry)
                continue;
            size_t i = hash(o.key) & mask;
            while (m_slots[i].entry)
                i = (i + 1) & mask;
            m_slots[i] = o;
        }
    }
};

// A save writes ".tallybrook.json.saving-" + six random characters and renames it over the data
// file; a process killed in that moment leaves it behind. Only this program writes the folder (one
// instance per user), so every such file found at start is a leftover.
// Older versions named it "tallybrook.json." + six letters and digits. Of those, a suffix must
// mix capitals, small letters and digits to count: a name a person gave a copy
// ("tallybrook.json.backup") is never touched.
void removeStaleTemporaries(const QString& folder)
{
    const QString prefix = AtomicWrite::temporaryPrefix(kDataFileName);
    static const QRegularExpression ours(QLatin1Char('^') + QRegularExpression::escape(prefix) +
                                         QStringLiteral("[A-Za-z0-9]{6}$"));
    static const QRegularExpression old(QStringLiteral("^tallybrook\\.json\\.[A-Za-z0-9]{6}$"));
    // One look at the folder for both kinds.
    const QStringList names = FolderNames::startingWith(folder, {prefix, QStringLiteral("tallybrook.json.")},
                                                        QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (ours.match(name).hasMatch()) {
            QFile::remove(folder + QLatin1Char('/') + name);
            continue;
        }
        if (!old.match(name).hasMatch())
            continue;
        const QStringView suffix = QStringView(name).right(6);
        const auto has = [&](auto test) { return std::any_of(suffix.begin(), suffix.end(), test); };
        if (has([](QChar c) { return c.isUpper(); }) && has([](QChar c) { return c.isLower(); }) &&
            has([](QChar c) { return c.isDigit(); }))
            QFile::remove(folder + QLatin1Char('/') + name);
    }
}

// A backup is written the same way; one killed half-way leaves ".tallybrook-<time>.json.saving-"
// and six characters in the backups folder.
void removeStaleBackupTemporaries(const QString& folder)
{
    static const QRegularExpression ours(
        QStringLiteral("^\\.tallybrook-\\d{8}-\\d{6}(-\\d+)?\\.json\\.saving-[A-Za-z0-9]{6}$"));
    for (const QString& name : FolderNames::startingWith(folder, {QStringLiteral(".tallybrook-")},
                                                         QDir::Files | QDir::Hidden | QDir::System)) {
        if (ours.match(name).hasMatch())
            QFile::remove(folder + QLatin1Char('/') + name);
    }
}

} // namespace

Store::Store(bool sampleOnly, QObject* parent) : QObject(parent)
{
    if (sampleOnly)
        init(defaultDataFolder(), sampleOnly);
    else
        initInPreferredFolder();
}

Store::Store(const QString& dataFolder, bool sampleOnly, QObject* parent) : QObject(parent)
{
    init(dataFolder, sampleOnly);
}

// The saving thread is stopped (after writing what still waits) before the rest goes.
Store::~Store()
{
    m_saves.reset();
}

QString Store::defaultDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Tallybrook");
}

int Store::currentYear()
{
    return QDate::currentDate().year();
}

bool Store::turkishCase() const
{
    static const bool systemTurkish = QLocale::system().language() == QLocale::Turkish;
    return m_language == AppLanguage::tr || systemTurkish;
}

void Store::armDayTimer()
{
    // Asked again at least every ten minutes: a suspended machine or a changed clock makes a
    // timer set for midnight late.
    const QDateTime now = QDateTime::currentDateTime();
    const qint64 toMidnight = now.msecsTo(QDateTime(now.date().addDays(1), QTime(0, 0)));
    m_dayTimer.start(int(std::clamp<qint64>(toMidnight + 500, 1000, 10 * 60 * 1000)));
}

void Store::checkDay()
{
    const QDate day = today();
    if (day == m_knownDay)
        return;
    m_knownDay = day;
    emit dayChanged();
}

void Store::init(const QString& dataFolder, bool sampleOnly)
{
    m_knownDay = today();
    m_dayTimer.setSingleShot(true);
    connect(&m_dayTimer, &QTimer::timeout, this, [this] {
        checkDay();
        armDayTimer();
    });
    armDayTimer();
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(kSaveDelayMs);
    connect(&m_saveTimer, &QTimer::timeout, this, &Store::startSave);
    m_saves = std::make_unique<SaveQueue>(
        [this] { QMetaObject::invokeMethod(this, &Store::takeSaveResults, Qt::QueuedConnection); });

    m_sampleOnly = sampleOnly;
    AtomicWrite::makePath(dataFolder); // a failure shows itself when reading or writing
    m_fileURL = dataFolder + QLatin1Char('/') + kDataFileName;
    m_backups = std::make_unique<BackupKeeper>(m_fileURL);
    setSaveWriter(&AtomicWrite::write);
    if (!sampleOnly) {
        removeStaleTemporaries(dataFolder);
        removeStaleBackupTemporaries(Backups::folderFor(m_fileURL));
    }
    m_activeYear = currentYear();
    m_language = AppLanguageInfo::fromRaw(Preferences::text(Preferences::kLanguage).value_or(QString()))
                     .value_or(AppLanguage::en);

    Load loaded;
    if (sampleOnly) {
        loaded.data = AppData::sample();
        loaded.blockSaving = true;
    } else {
        loaded = load(m_fileURL, dataFolder, turkishCase());
    }
    m_data = loaded.data;
    m_savingBlocked = loaded.blockSaving;
    // What was read is what a save may replace (an unreadable file is set aside by now).
    m_disk->setKnown({FileStamp::of(m_fileURL), {}});
    if (!loaded.firstLaunch && !loaded.needsResave) {
        m_diskBase = m_data;
        rememberDiskVersion(m_data, m_disk->known().stamp.modifiedNs);
    }
    if (loaded.firstLaunch || loaded.needsResave) {
        // Written before the start goes on: a repaired or new file is on disk at once.
        m_unsaved = true;
        ++m_saveSerial;
        startSave();
        settleSaves();
    }
    if (!loaded.message.isEmpty())
        m_ui.show(loaded.message, false, UiState::kStartupToastMs / 1000.0);

    if (auto* app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, &Store::saveBeforeQuit);
    // The application starts the rate request: a Store made by a test or a tool stays offline.
    connect(CurrencyRate::notifier(), &RateNotifier::changed, this, &Store::rateChanged);
}

bool Store::setAside(const QString& filePath, const QString& dataFolder)
{
    // A name already taken (a second unreadable file within the same second) gets a number, rather
    // than failing the rename and leaving the whole session unable to save.
    const QString stem = dataFolder + QStringLiteral("/tallybrook-unreadable-") +
                         QString::number(QDateTime::currentSecsSinceEpoch());
    QString aside = stem + QStringLiteral(".json");
    for (int n = 2; n < 100 && (QFileInfo::exists(aside) || QFileInfo(aside).isSymLink()); ++n)
        aside = stem + QLatin1Char('-') + QString::number(n) + QStringLiteral(".json");
    if (!QFile::rename(filePath, aside))
        return false;
    AtomicWrite::makePrivate(aside);
    return true;
}

namespace {

// Reads and decodes the file open as `fd`, of `st` at the last look, into memory of its own.
std::optional<AppData> readAndDecode(int fd, const struct stat& st)
{
    // Read straight into a buffer with the reader's padding after it: no copy of the bytes.
    // At most one byte more than the limit, as before: a file that grew since the look reads as
    // cut off there.
    // A large file is indexed while it is still being read (the file as it was looked at: one
    // that grew since is read on and decoded the usual way).
    size_t size = 0;
    std::unique_ptr<DataFile::ReadBuffer> buffer;
    std::unique_ptr<DataFile::IndexAhead> ahead;
    for (size_t capacity = size_t(st.st_size) + 1;; capacity *= 2) {
        capacity = std::min(capacity, size_t(Store::kMaxDataFileBytes + 1));
        auto bigger = std::make_unique<DataFile::ReadBuffer>(capacity);
        if (!bigger->data())
            break;
        ahead.reset(); // it reads the buffer that goes now
        if (buffer)
            std::memcpy(bigger->data(), buffer->data(), size);
        else if (capacity >= kIndexAheadFrom)
            ahead = std::make_unique<DataFile::IndexAhead>(*bigger);
        buffer = std::move(bigger);
        const size_t chunk = ahead ? kIndexAheadChunk : capacity;
        ssize_t n = 0;
        while (size < capacity &&
               (n = ::read(fd, buffer->data() + size, std::min(chunk, capacity - size))) != 0) {
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                break; // an error: what was read is judged
            size += size_t(n);
            if (ahead)
                ahead->readTo(size);
        }
        if (size < capacity || capacity == size_t(Store::kMaxDataFileBytes + 1))
            break;
    }
    if (!buffer)
        return std::nullopt;
    return ahead ? DataFile::decode(*buffer, size, *ahead) : DataFile::decode(*buffer, size);
}

} // namespace

Load Store::load(const QString& filePath, const QString& dataFolder, bool turkishCase)
{
    Load result;
    if (!QFile::exists(filePath)) {
        result.data = AppData::sample();
        result.firstLaunch = true;
        return result;
    }
    std::optional<AppData> decoded;
    // Opened without waiting: a FIFO in the file's place would otherwise block the start for good.
    const int fd = ::open(QFile::encodeName(filePath).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        struct stat st;
        QString refusal;
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
            refusal = QStringLiteral("The data file is not a regular file.");
        else if (st.st_size > kMaxDataFileBytes)
            refusal = QStringLiteral("The data file is larger than %1 MB.").arg(kMaxDataFileBytes >> 20);
        if (!refusal.isEmpty()) {
            ::close(fd);
            // Not ours to move or replace: left where it is, and nothing is written over it.
            result.data = AppData::empty();
            result.blockSaving = true;
            result.message =
                refusal + QStringLiteral(" It was left as it is; changes will not be saved this session.");
            return result;
        }
        // A large file is read where the system already holds it, through a mapping: no copy and
        // no fresh pages to fill. One that changes meanwhile is read again into memory of its own.
        if (size_t(st.st_size) < kMapFrom || !DataFile::decodeMapped(fd, st, decoded))
            decoded = readAndDecode(fd, st);
        ::close(fd);
    }
    if (decoded) {
        repairLoaded(*decoded, turkishCase, result.needsResave, true);
        result.data = std::move(*decoded);
        decoded.reset();
        // The reading's buffers are gone: their memory goes back to the system.
        malloc_trim(0);
        return result;
    }
    result.data = AppData::empty();
    if (setAside(filePath, dataFolder)) {
        result.message =
            QStringLiteral("Saved data could not be read. It was set aside and a fresh file started.");
    } else {
        result.blockSaving = true;
        result.message =
            QStringLiteral("Saved data could not be read. Changes will not be saved this session.");
    }
    return result;
}

namespace {

// A project whose id repeats an earlier one's would be the earlier one for every drag, edit and
// deletion: it gets an id of its own.
void giveOwnIds(Project* projects, qsizetype count, bool& changed)
{
    // A place + 1 fills a slot's lower half: fewer than 2^32 projects, as any document holds.
    Q_ASSERT(quint64(count) < UINT32_MAX);
    IdSet ids(projects, count);
    // All hashes first, from one pass over the list: the look-ups then read only them and the
    // table, each slot asked for a few look-ups ahead (the list is far larger than the cache).
    constexpr qsizetype kAhead = 8;
    std::vector<quint64> hashes(static_cast<size_t>(count));
    for (qsizetype i = 0; i < count; ++i)
        hashes[size_t(i)] = IdSet::hash(projects[i].id);
    for (qsizetype i = 0; i < count; ++i) {
        if (i + kAhead < count)
            ids.prefetch(hashes[size_t(i + kAhead)]);
        if (!ids.insert(i, hashes[size_t(i)])) {
            projects[i].id = QUuid::createUuid();
            changed = true;
            ids.insert(i, IdSet::hash(projects[i].id));
        }
    }
}

// The repairs of names and directory texts, then `done(p)` for each project once its texts are
// final. They read and write nothing but texts (the ids and dates may be worked on meanwhile).
// The directories first: they depend on no project. Then one pass over the projects (a large
// list is read from memory once, not three times), each step in the order it always had.
template <typename Done> void repairTexts(AppData& data, bool& changed, bool turkishCase, Done done)
{
    const QHash<QString, QString> clients = dedupeDirectory(data.clients, true, turkishCase, changed);
    const QHash<QString, QString> categories = dedupeDirectory(data.categories, false, turkishCase, changed);
    const QSet<QString> keptClients(data.clients.begin(), data.clients.end());
    const QSet<QString> keptCategories(data.categories.begin(), data.categories.end());
    PerBuffer<QString> renamedClients;
    PerBuffer<bool> isKeptClient, isKeptCategory;
    for (Project& p : data.projects) {
        if (holdsQOrL(p.name)) { // most names hold neither: no copy, no comparison
            const QString name = applyRules(p.name, kNameRules);
            if (name != p.name) {
                p.name = name;
                changed = true;
            }
        }
        const QString& renamed =
            renamedClients.value(p.client, [](const QString& c) { return applyRules(c, kClientRules); });
        if (renamed != p.client) {
            p.client = renamed;
            changed = true;
        }
        // Most projects already use the kept spelling: no lower-casing needed for them.
        if (!isKeptClient.value(p.client, [&](const QString& c) { return keptClients.contains(c); }) ||
            !isKeptCategory.value(p.category, [&](const QString& c) { return keptCategories.contains(c); })) {
            const auto client = clients.constFind(Text::foldCase(p.client, turkishCase));
            if (client != clients.constEnd() && *client != p.client) {
                p.client = *client;
                changed = true;
            }
            const auto category = categories.constFind(Text::foldCase(p.category, turkishCase));
            if (category != categories.constEnd() && *category != p.category) {
                p.category = *category;
                changed = true;
            }
        }
        done(p);
    }
}

// The noon of each project's local day. The distinct instants are few (one a day) and each
// costs several local-time conversions: they are worked out once each.
class NoonDates
{
public:
    // Reads only the dates of `count` projects from `projects`.
    NoonDates(const Project* projects, qsizetype count);
    // The noon for the project at `index`.
    const QDateTime& at(qsizetype index) const { return m_noons[m_slot[size_t(index)]]; }

private:
    std::vector<QDateTime> m_noons; // distinct instants in order of first use, then their noons
    std::vector<quint32> m_slot;    // each project's
};

NoonDates::NoonDates(const Project* projects, qsizetype count) : m_slot(size_t(count))
{
    std::vector<qint64> keys;
    std::vector<QDateTime>& noons = m_noons;
    std::vector<quint32>& slot = m_slot;
    std::vector<quint32> table(64, UINT32_MAX);
    const auto hash = [](qint64 ms) {
        const quint64 h = quint64(ms) * 0x9E3779B97F4A7C15ull;
        return size_t(h ^ (h >> 29));
    };
    for (qsizetype i = 0; i < count; ++i) {
        if (keys.size() * 2 >= table.size()) {
            table.assign(table.size() * 2, UINT32_MAX);
            for (quint32 k = 0; k < keys.size(); ++k) {
                size_t j = hash(keys[k]) & (table.size() - 1);
                while (table[j] != UINT32_MAX)
                    j = (j + 1) & (table.size() - 1);
                table[j] = k;
            }
        }
        const QDateTime& date = projects[i].date;
        const qint64 ms = date.toMSecsSinceEpoch();
        size_t j = hash(ms) & (table.size() - 1);
        while (table[j] != UINT32_MAX && keys[table[j]] != ms)
            j = (j + 1) & (table.size() - 1);
        if (table[j] == UINT32_MAX) {
            table[j] = quint32(keys.size());
            keys.push_back(ms);
            noons.push_back(date); // the first project's date stands for its instant
        }
        slot[size_t(i)] = table[j];
    }
    // Not split further: the C library converts to local time under a lock of its own, so a
    // second thread would mostly wait for it.
    for (QDateTime& noon : noons)
        noon = atNoon(noon);
}

} // namespace

void Store::repairLoaded(AppData& data, bool turkishCase, bool& changed, bool mayPinZone)
{
    // Many projects share a day; each distinct instant is moved to noon once.
    // Without TZ the C library looks at /etc/localtime again (a stat call) at every conversion to
    // local time Qt makes, a few per day: for 7,000 days that was most of a start's load. Naming
    // that same file in TZ meanwhile gives the same rules (glibc reads TZ=":/etc/localtime" as
    // the default zone) and keeps them read once.
    // Only at a start, before any other thread may read the environment.
    const bool pinZone = mayPinZone && !data.projects.isEmpty() && !qEnvironmentVariableIsSet("TZ");
    if (pinZone)
        qputenv("TZ", ":/etc/localtime");
    // Equal client and category texts share one buffer (the directory's where there is one):
    // less memory, and the statistics group projects by buffer without reading texts.
    std::optional<QSet<QString>> texts; // the directories as repaired
    PerBuffer<QString> shared;
    const auto share = [&](Project& p) {
        if (!texts) {
            texts.emplace(data.clients.begin(), data.clients.end());
            texts->unite(QSet<QString>(data.categories.begin(), data.categories.end()));
        }
        const auto one = [&](const QString& t) { return *texts->insert(t); };
        p.client = shared.value(p.client, one);
        p.category = shared.value(p.category, one);
    };
    // The noons and the ids are worked out beside the repair of the texts, which touches neither
    // (nor moves the list: it is made the document's own first).
    Project* const projects = data.projects.data();
    const qsizetype count = data.projects.size();
    std::optional<NoonDates> noons;
    bool idsChanged = false;
    const auto noonsAndIds = [&] {
        noons.emplace(projects, count);
        giveOwnIds(projects, count, idsChanged);
    };
    if (count >= 4096 && std::thread::hardware_concurrency() >= 2) {
        std::exception_ptr failure;
        std::thread worker([&] {
            try {
                noonsAndIds();
            } catch (...) {
                failure = std::current_exception();
            }
        });
        struct Join // also when the repair throws
        {
            std::thread& t;
            ~Join()
            {
                if (t.joinable())
                    t.join();
            }
        } join{worker};
        repairTexts(data, changed, turkishCase, share);
        worker.join();
        if (failure)
            std::rethrow_exception(failure);
    } else {
        noonsAndIds();
        repairTexts(data, changed, turkishCase, share);
    }
    changed = changed || idsChanged;
    if (pinZone)
        qunsetenv("TZ");
    for (qsizetype i = 0; i < count; ++i)
        projects[i].date = noons->at(i);
}

void Store::sanitize(AppData& data, bool& changed, bool turkishCase)
{
    giveOwnIds(data.projects.data(), data.projects.size(), changed);
    repairTexts(data, changed, turkishCase, [](Project&) {});
}

// --- state fields ---------------------------------------------------------------

#define TB_ASSIGN(member, value, signal)                                                                     \
    do {                                                                                                     \
        if (member == value)                                                                                 \
            return;                                                                                          \
        member = value;                                                                                      \
        emit signal();                                                                                       \
    } while (false)

void Store::setActiveYear(int year)
{
    TB_ASSIGN(m_activeYear, year, activeYearChanged);
}

void Store::setLanguage(AppLanguage language)
{
    // A preview store writes nothing at all.
    if (!m_sampleOnly)
        Preferences::setText(Preferences::kLanguage, AppLanguageInfo::rawValue(language));
    TB_ASSIGN(m_language, language, languageChanged);
}

#undef TB_ASSIGN

void Store::chooseLanguage(AppLanguage language)
{
    setLanguage(language);
    m_ui.show(language == AppLanguage::tr ? QStringLiteral("Uygulama dili Türkçe olarak değiştirildi")
                                          : QStringLiteral("Language set to English"));
}

// --- saving -------------------------------------------------------------------------

void Store::changeData(const std::function<void(AppData&)>& change)
{
    change(m_data);
    ++m_generation;
    emit dataChanged();
}

void Store::changeStatus(int index, Status to, const Payments::StatusDays* days)
{
    Project& p = m_data.projects[index];
    const Status from = p.status;
    const Payments::StatusDays before = Payments::StatusDays::of(p);
    if (days)
        days->applyTo(p);
    else
        Payments::applyMove(p, to, today(), m_data.termsDays(p.client));
    // The cached lists follow a change of status; other changes of days rebuild them.
    const bool keepLists = listsCurrent() && (from != to || before == Payments::StatusDays::of(p));
    ++m_generation;
    if (keepLists) {
        patchListsForStatus(index, from, to);
        m_lists.generation = m_generation;
    }
    emit dataChanged();
}

void Store::scheduleSave()
{
    m_lastLocalChange = QDateTime::currentDateTimeUtc();
    m_unsaved = true;
    ++m_saveSerial;
    m_saveTimer.start(); // restarting cancels the earlier one
}

bool Store::isSaving() const
{
    return m_saves->busy();
}

void Store::flushPendingSave()
{
    if (m_saveTimer.isActive())
        startSave();
    settleSaves();
}

void Store::saveBeforeQuit()
{
    const bool pending = m_saveTimer.isActive();
    if (pending)
        startSave();
    settleSaves();
    // After a failed save nothing is pending, but the changes still need writing.
    if (!pending && m_unsaved) {
        startSave();
        settleSaves();
    }
    // The file changed on disk and cannot be read (a sync still under way): the session's changes
    // must not be lost on quitting, and neither may that file.
    const FileStamp onDisk = FileStamp::of(m_fileURL);
    if (m_unsaved && !m_savingBlocked && onDisk.regular && onDisk != m_disk->known().stamp) {
        setAsideUnreadable();
        startSave();
        settleSaves();
    }
}

void Store::setSaveWriter(std::function<bool(const QString&, const QByteArray&, QString*)> writer)
{
    // Each save on the saving thread keeps the rolling backups around the write, and writes only
    // over the version of the file this document was last read from or written to. The keeper is
    // looked up at each save: a change of data folder replaces it while no save runs.
    std::shared_ptr<DiskState> disk = m_disk;
    m_saves->setWriter([this, disk, writer = std::move(writer)](const QString& path, const QByteArray& bytes,
                                                                QString* error) {
        const FileStamp now = FileStamp::of(path);
        if ((!now.exists || now.regular) && now != disk->known().stamp) {
            disk->setChangedBeforeSave();
            if (error)
                *error = QStringLiteral("The file changed on disk.");
            return false;
        }
        // A rename over the file between this look and the write is not seen: a window of a
        // write's length, where a sync engine's own rename lands at a random moment.
        const bool ok = m_backups->aroundSave([&] { return writer(path, bytes, error); });
        if (ok)
            disk->setKnown({FileStamp::of(path), contentChecksum(bytes)});
        return ok;
    });
}

void Store::startSave()
{
    m_saveTimer.stop();
    if (m_savingBlocked)
        return;
    // A copy shares the document's lists: the snapshot costs no copying here.
    m_saves->submit(m_saveSerial, m_fileURL, m_data);
}

void Store::settleSaves()
{
    // A save that met a changed file merges and saves again: wait for that one too. It may have
    // finished already by the time it is looked for, so a new serial, not a busy queue, says so.
    for (int round = 0; round < 4; ++round) {
        m_saves->waitUntilIdle();
        const auto serial = m_saveSerial;
        takeSaveResults();
        if (m_saveSerial == serial && !m_saves->busy())
            break;
    }
}

void Store::takeSaveResults()
{
    bool changedOnDisk = false;
    for (SaveQueue::Result& r : m_saves->takeResults()) {
        // Only a write of the newest change leaves nothing unsaved.
        if (r.ok && r.serial == m_saveSerial)
            m_unsaved = false;
        if (r.written) {
            rememberDiskVersion(*r.written, m_disk->known().stamp.modifiedNs);
            m_diskBase = std::move(*r.written);
        }
        if (!r.ok && m_disk->takeChangedBeforeSave())
            changedOnDisk = true; // not a failure: merged below, and saved again
        else if (!r.ok)
            m_ui.show(QStringLiteral("Could not save: ") + r.error);
        // Told once a session, and never in the way of the save.
        if (const std::optional<QString> failure = m_backups->takeFailure();
            failure && !m_backupFailureShown) {
            m_backupFailureShown = true;
            m_ui.show(tr(QStringLiteral("Could not back up: "), QStringLiteral("Yedek alınamadı: ")) +
                      *failure);
        }
        emit saved(r.ok);
    }
    rearmWatch();
    if (changedOnDisk && takeDiskVersion() && m_unsaved && !m_saves->busy()) {
        ++m_saveSerial;
        startSave();
    }
}

void Store::update(const std::function<void(AppData&)>& change)
{
    changeData(change);
    scheduleSave();
}

QString Store::tr(const QString& en, const QString& trText) const
{
    return L10n::tr(m_language, en, trText);
}
