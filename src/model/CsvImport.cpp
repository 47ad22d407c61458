#include "model/CsvImport.h"

#include "model/Amount.h"
#include "model/AtomicWrite.h"
#include "model/CsvExport.h"
#include "model/Preferences.h"
#include "model/Store.h"
#include "model/Text.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QStringDecoder>
#include <array>
#include <cmath>
#include <cstring>

namespace CsvImport {

namespace {

// Windows-1254 from 0x80 to 0x9F; 0 where the code page defines no character. From 0xA0 it is
// Latin-1 but for six Turkish letters.
constexpr std::array<char16_t, 32> kCp1254High{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0,      0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0,      0x0178};

QString decodeCp1254(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char b : bytes) {
        const auto u = uchar(b);
        char16_t c = u;
        if (u >= 0x80 && u < 0xA0)
            c = kCp1254High[u - 0x80] ? kCp1254High[u - 0x80] : char16_t(0xFFFD);
        else if (u == 0xD0)
            c = 0x011E; // Ğ
        else if (u == 0xDD)
            c = 0x0130; // İ
        else if (u == 0xDE)
            c = 0x015E; // Ş
        else if (u == 0xF0)
            c = 0x011F; // ğ
        else if (u == 0xFD)
            c = 0x0131; // ı
        else if (u == 0xFE)
            c = 0x015F; // ş
        *out++ = QChar(c);
    }
    return text;
}

bool startsWith(const QByteArray& bytes, const char* mark, int n)
{
    return bytes.size() >= n && std::memcmp(bytes.constData(), mark, size_t(n)) == 0;
}

Encoding guessEncoding(const QByteArray& bytes)
{
    if (startsWith(bytes, "\xEF\xBB\xBF", 3))
        return Encoding::utf8Bom;
    if (startsWith(bytes, "\xFF\xFE", 2))
        return Encoding::utf16Le;
    if (startsWith(bytes, "\xFE\xFF", 2))
        return Encoding::utf16Be;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    // Older Turkish spreadsheets write the Windows code page; it is never valid UTF-8 once a
    // Turkish letter appears.
    return utf8.hasError() ? Encoding::windows1254 : Encoding::utf8;
}

QString decode(const QByteArray& bytes, Encoding encoding)
{
    const auto skip = [&bytes](const char* mark, int n) {
        return startsWith(bytes, mark, n) ? QByteArrayView(bytes).sliced(n) : QByteArrayView(bytes);
    };
    switch (encoding) {
    case Encoding::utf8:
    case Encoding::utf8Bom:
        return QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless)
            .decode(skip("\xEF\xBB\xBF", 3));
    case Encoding::utf16Le:
        return QStringDecoder(QStringDecoder::Utf16LE).decode(skip("\xFF\xFE", 2));
    case Encoding::utf16Be:
        return QStringDecoder(QStringDecoder::Utf16BE).decode(skip("\xFE\xFF", 2));
    case Encoding::windows1254:
        return decodeCp1254(bytes);
    }
    return {};
}

// The delimiter that appears most often outside quotes in the header line; a comma when none does.
QChar guessDelimiter(QStringView text)
{
    int comma = 0, semicolon = 0, tab = 0;
    bool quoted = false;
    for (QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && (c == u'\n' || c == u'\r'))
            break;
        else if (!quoted && c == u',')
            ++comma;
        else if (!quoted && c == u';')
            ++semicolon;
        else if (!quoted && c == u'\t')
            ++tab;
    }
    if (tab > comma && tab > semicolon)
        return u'\t';
    return semicolon > comma ? QChar(u';') : QChar(u',');
}

struct Split
{
    QVector<QStringList> records;
    QVector<int> lines;
    bool tooMany = false;
};

// RFC 4180 records; also bare LF or CR line ends, and text after a closing quote kept as typed.
// Blank lines are skipped.
Split split(QStringView text, QChar delimiter)
{
    Split out;
    QStringList record;
    QString cell;
    int line = 1;
    int recordLine = 1;
    bool quoted = false;
    bool wasQuoted = false;
    const qsizetype n = text.size();
    const auto endCell = [&] {
        // A guard that kept a spreadsheet from running the text comes off.
        if (cell.startsWith(u'\'') && CsvExport::needsGuard(QStringView(cell).sliced(1)))
            cell.remove(0, 1);
        record.append(Text::trimBlanks(cell));
        cell.clear();
        wasQuoted = false;
    };
    const auto endRecord = [&] {
        endCell();
        if (!(record.size() == 1 && record.front().isEmpty())) {
            out.records.append(record);
            out.lines.append(recordLine);
        }
        record.clear();
    };
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < n && text[i + 1] == u'"') {
                    cell += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                // The run up to the next quote at once: appending character by character is
                // most of the time of a large file.
                qsizetype j = i;
                for (; j < n && text[j] != u'"'; ++j) {
                    if (text[j] == u'\n' || (text[j] == u'\r' && !(j + 1 < n && text[j + 1] == u'\n')))
                        ++line;
                }
                cell += text.sliced(i, j - i);
                i = j - 1;
            }
        } else if (c == u'"' && cell.isEmpty() && !wasQuoted) {
            quoted = true;
            wasQuoted = true;
        } else if (c == delimiter) {
            endCell();
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            endRecord();
            ++line;
            recordLine = line;
            if (out.records.size() > kMaxRows + 1) {
                out.tooMany = true;
                return out;
            }
        } else {
            qsizetype j = i + 1;
            while (j < n && text[j] != delimiter && text[j] != u'\r' && text[j] != u'\n')
                ++j;
            cell += text.sliced(i, j - i);
            i = j - 1;
        }
    }
    if (!cell.isEmpty() || !record.isEmpty() || wasQuoted)
        endRecord();
    out.tooMany = out.records.size() > kMaxRows + 1;
    return out;
}

// Header texts and status texts compared without case, Turkish letters, spaces or punctuation.
QString fold(const QString& text)
{
    const QString lower = Text::foldCase(text, true);
    QString out;
    out.reserve(lower.size());
    for (QChar c : lower) {
        switch (c.unicode()) {
        case u'ö':
            out += u'o';
            break;
        case u'ü':
            out += u'u';
            break;
        case u'ş':
            out += u's';
            break;
        case u'ç':
            out += u'c';
            break;
        case u'ğ':
            out += u'g';
            break;
        case u'ı':
            out += u'i';
            break;
        default:
            if (c.isLetterOrNumber())
                out += c;
        }
    }
    return out;
}

Role roleOfHeader(const QString& header)
{
    static const QHash<QString, Role> names = [] {
        QHash<QString, Role> h;
        const auto add = [&h](Role r, std::initializer_list<const char*> keys) {
            for (const char* k : keys)
                h.insert(QString::fromUtf8(k), r);
        };
        add(Role::name,
            {"name", "project", "projectname", "title", "proje", "projeadi", "ad", "adi", "isadi"});
        add(Role::client, {"client", "customer", "clientname", "musteri", "musteriadi", "firma"});
        add(Role::category, {"category", "type", "kategori", "tur"});
        add(Role::fee, {"fee", "amount", "price", "ucret", "tutar", "fiyat", "bedel"});
        add(Role::outsource, {"outsource", "outsourcing", "outsourcecost", "diskaynak", "taseron"});
        add(Role::status, {"status", "state", "durum", "durumu"});
        add(Role::date, {"date", "tarih", "projedate", "projetarihi"});
        add(Role::id, {"id", "uuid", "kimlik"});
        add(Role::pendingSince, {"pendingsince", "invoiced", "invoicedate", "faturatarihi", "beklemetarihi"});
        add(Role::dueDate, {"duedate", "due", "vade", "vadetarihi", "sonodemetarihi"});
        add(Role::paidOn, {"paidon", "paymentdate", "paiddate", "odemetarihi", "odendigitarih"});
        return h;
    }();
    return names.value(fold(header), Role::ignore);
}

std::optional<QDate> readDate(QStringView text, DateFormat format)
{
    const QChar sep = format == DateFormat::iso ? u'-' : format == DateFormat::dayMonthYearDots ? u'.' : u'/';
    int parts[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int k = 0;
    for (QChar c : text) {
        if (c == sep) {
            if (++k > 2)
                return std::nullopt;
        } else if (c >= u'0' && c <= u'9') {
            if (++digits[k] > 4)
                return std::nullopt;
            parts[k] = parts[k] * 10 + (c.unicode() - u'0');
        } else {
            return std::nullopt;
        }
    }
    if (k != 2)
        return std::nullopt;
    int y = 0, m = 0, d = 0;
    switch (format) {
    case DateFormat::iso:
        if (digits[0] != 4 || digits[1] > 2 || digits[2] > 2 || !digits[1] || !digits[2])
            return std::nullopt;
        y = parts[0], m = parts[1], d = parts[2];
        break;
    case DateFormat::dayMonthYearDots:
    case DateFormat::dayMonthYearSlashes:
    case DateFormat::monthDayYearSlashes:
        if (digits[2] != 4 || digits[0] > 2 || digits[1] > 2 || !digits[0] || !digits[1])
            return std::nullopt;
        y = parts[2];
        d = format == DateFormat::monthDayYearSlashes ? parts[1] : parts[0];
        m = format == DateFormat::monthDayYearSlashes ? parts[0] : parts[1];
        break;
    }
    const QDate date(y, m, d);
    if (!date.isValid() || y < 1)
        return std::nullopt;
    return date;
}

constexpr std::array<DateFormat, 4> kDateFormats{DateFormat::iso, DateFormat::dayMonthYearDots,
                                                 DateFormat::dayMonthYearSlashes,
                                                 DateFormat::monthDayYearSlashes};

bool isDateRole(Role r)
{
    return r == Role::date || r == Role::pendingSince || r == Role::dueDate || r == Role::paidOn;
}

bool isAmountRole(Role r)
{
    return r == Role::fee || r == Role::outsource;
}

// A minus sign or accounting parentheses before the first digit.
bool looksNegative(const QString& text)
{
    for (QChar c : text) {
        if (c.isDigit())
            return false;
        if (c == u'-' || c == QChar(0x2212) || c == u'(')
            return true;
    }
    return false;
}

// Between its first and last digit an amount holds only digits, separators and spaces: a day
// or a range ("2024-01-05", "5-10") in an amount column is no amount, though the lenient reader
// would find one in it.
bool plausibleAmount(const QString& text)
{
    qsizetype first = -1, last = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isDigit()) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    for (qsizetype i = first + 1; i < last; ++i) {
        const QChar c = text.at(i);
        if (!c.isDigit() && c != u'.' && c != u',' && !c.isSpace() && c != u'\'' && c != QChar(0x2019))
            return false;
    }
    return first >= 0;
}

// One reading agreed on by every cell of the columns that some reading fits: a guess when it is
// the only one, or when every remaining reading gives the same values. A cell no reading fits
// takes no side; its row is reported once the reading is known.
template <class Choice, class Read, size_t N>
std::optional<Choice> agreed(const std::array<Choice, N>& choices, const QVector<QString>& cells, Read read)
{
    std::array<bool, N> fits;
    fits.fill(true);
    for (const QString& cell : cells) {
        std::array<bool, N> cellFits;
        bool any = false;
        for (size_t i = 0; i < N; ++i) {
            const bool reads = bool(read(cell, choices[i]));
            cellFits[i] = fits[i] && reads;
            any = any || reads;
        }
        if (any)
            fits = cellFits;
    }
    std::optional<size_t> first;
    for (size_t i = 0; i < N; ++i) {
        if (!fits[i])
            continue;
        if (!first) {
            first = i;
            continue;
        }
        for (const QString& cell : cells) {
            if (read(cell, choices[*first]) != read(cell, choices[i]))
                return std::nullopt;
        }
    }
    if (!first)
        return std::nullopt;
    return choices[*first];
}

// What makes a row the same project as one of the document.
struct DuplicateKey
{
    QString name;
    QString client;
    qint64 day = 0;
    double fee = 0;
    bool operator==(const DuplicateKey& o) const
    {
        return day == o.day && fee == o.fee && name == o.name && client == o.client;
    }
};

size_t qHash(const DuplicateKey& k, size_t seed = 0)
{
    return qHashMulti(seed, k.name, k.client, k.day, k.fee);
}

const char kMappings[] = "csvImportMappings";
constexpr int kRememberedHeaders = 50;

QString headerKey(const QStringList& header)
{
    return header.join(QChar(0x1F));
}

} // namespace

QString encodingName(Encoding encoding)
{
    switch (encoding) {
    case Encoding::utf8:
        return QStringLiteral("UTF-8");
    case Encoding::utf8Bom:
        return QStringLiteral("UTF-8 BOM");
    case Encoding::utf16Le:
        return QStringLiteral("UTF-16 LE");
    case Encoding::utf16Be:
        return QStringLiteral("UTF-16 BE");
    case Encoding::windows1254:
        return QStringLiteral("Windows-1254");
    }
    return {};
}

QString dateFormatName(DateFormat format)
{
    switch (format) {
    case DateFormat::iso:
        return QStringLiteral("YYYY-MM-DD");
    case DateFormat::dayMonthYearDots:
        return QStringLiteral("DD.MM.YYYY");
    case DateFormat::dayMonthYearSlashes:
        return QStringLiteral("DD/MM/YYYY");
    case DateFormat::monthDayYearSlashes:
        return QStringLiteral("MM/DD/YYYY");
    }
    return {};
}

QString roleName(Role role, const Store& store)
{
    switch (role) {
    case Role::ignore:
        return store.tr(QStringLiteral("Ignore"), QStringLiteral("Yok say"));
    case Role::name:
        return store.tr(QStringLiteral("Name"), QStringLiteral("Proje Adı"));
    case Role::client:
        return store.tr(QStringLiteral("Client"), QStringLiteral("Müşteri"));
    case Role::category:
        return store.tr(QStringLiteral("Category"), QStringLiteral("Kategori"));
    case Role::fee:
        return store.tr(QStringLiteral("Fee"), QStringLiteral("Ücret"));
    case Role::outsource:
        return store.tr(QStringLiteral("Outsource"), QStringLiteral("Dış Kaynak"));
    case Role::status:
        return store.tr(QStringLiteral("Status"), QStringLiteral("Durum"));
    case Role::date:
        return store.tr(QStringLiteral("Date"), QStringLiteral("Tarih"));
    case Role::id:
        return QStringLiteral("ID");
    case Role::pendingSince:
        return store.tr(QStringLiteral("Pending Since"), QStringLiteral("Ödenecek Tarihi"));
    case Role::dueDate:
        return store.tr(QStringLiteral("Due Date"), QStringLiteral("Vade Tarihi"));
    case Role::paidOn:
        return store.tr(QStringLiteral("Paid On"), QStringLiteral("Ödeme Tarihi"));
    }
    return {};
}

QString statusKey(const QString& text)
{
    return fold(text);
}

std::optional<Status> statusOf(const QString& text)
{
    static const QHash<QString, Status> names = [] {
        QHash<QString, Status> h;
        const auto add = [&h](Status s, std::initializer_list<const char*> keys) {
            for (const char* k : keys)
                h.insert(fold(QString::fromUtf8(k)), s);
        };
        add(Status::paid, {"paid", "ödendi", "ödenmiş", "tahsil edildi"});
        add(Status::pending,
            {"pending", "invoiced", "unpaid", "ödenecek", "bekliyor", "beklemede", "faturalandı"});
        add(Status::ongoing, {"ongoing", "in the works", "in progress", "devam ediyor", "devam", "sürüyor"});
        return h;
    }();
    const auto it = names.constFind(fold(text));
    if (it == names.constEnd())
        return std::nullopt;
    return *it;
}

QString problemText(const RowProblem& problem, const Store& store)
{
    const QString line =
        store.tr(QStringLiteral("Line %1: "), QStringLiteral("Satır %1: ")).arg(problem.line);
    const QString cell = u'"' + Text::shown(problem.text) + u'"';
    const QString column = roleName(problem.column, store);
    switch (problem.reason) {
    case RowProblem::Reason::noName:
        return line + store.tr(QStringLiteral("no name"), QStringLiteral("proje adı yok"));
    case RowProblem::Reason::noDate:
        return line + store.tr(QStringLiteral("no date"), QStringLiteral("tarih yok"));
    case RowProblem::Reason::badDate:
        return line + store
                          .tr(QStringLiteral("%1 %2 cannot be read as a date"),
                              QStringLiteral("%1 %2 tarih olarak okunamıyor"))
                          .arg(column, cell);
    case RowProblem::Reason::noAmount:
        return line + store.tr(QStringLiteral("no fee"), QStringLiteral("ücret yok"));
    case RowProblem::Reason::badAmount:
        return line + store
                          .tr(QStringLiteral("%1 %2 cannot be read as an amount"),
                              QStringLiteral("%1 %2 tutar olarak okunamıyor"))
                          .arg(column, cell);
    case RowProblem::Reason::negativeAmount:
        return line + store.tr(QStringLiteral("%1 %2 is negative"), QStringLiteral("%1 %2 eksi bir tutar"))
                          .arg(column, cell);
    case RowProblem::Reason::tooLarge:
        return line + store
                          .tr(QStringLiteral("%1 %2 is above a trillion"),
                              QStringLiteral("%1 %2 bir trilyonun üzerinde"))
                          .arg(column, cell);
    }
    return line;
}

QString refusalText(const Preview& preview, const Store& store)
{
    switch (preview.refusal) {
    case Preview::Refusal::none:
        return {};
    case Preview::Refusal::tooLarge:
        return store.tr(QStringLiteral("The file is larger than 50 MB; split it and import the parts."),
                        QStringLiteral("Dosya 50 MB’tan büyük; bölüp parçaları içe aktarın."));
    case Preview::Refusal::tooManyRows:
        return store.tr(
            QStringLiteral("The file has more than 1,000,000 rows; split it and import the parts."),
            QStringLiteral("Dosyada 1.000.000’dan fazla satır var; bölüp parçaları içe aktarın."));
    case Preview::Refusal::empty:
        return store.tr(QStringLiteral("The file is empty."), QStringLiteral("Dosya boş."));
    case Preview::Refusal::unreadable:
        return store.tr(QStringLiteral("The file cannot be read: "), QStringLiteral("Dosya okunamıyor: ")) +
               preview.refusalDetail;
    }
    return {};
}

bool Preview::ready() const
{
    return refusal == Refusal::none && dateFormat && decimalSeparator && missingRoles.isEmpty() &&
           unknownStatuses.isEmpty() && !rows.isEmpty();
}

int Preview::duplicates() const
{
    int n = 0;
    for (const Row& r : rows)
        n += r.duplicate ? 1 : 0;
    return n;
}

Options Preview::choices() const
{
    Options o;
    o.encoding = encoding;
    o.delimiter = delimiter;
    o.roles = roles;
    o.dateFormat = dateFormat;
    o.decimalSeparator = decimalSeparator;
    o.statuses = statusMap;
    return o;
}

std::optional<QByteArray> readFile(const QString& path, Preview* refused)
{
    QString error;
    const QFileInfo info(path);
    if (info.isFile() && info.size() > kMaxBytes) {
        refused->refusal = Preview::Refusal::tooLarge;
        return std::nullopt;
    }
    std::optional<QByteArray> bytes = SafeRead::regularFile(path, kMaxBytes, &error);
    if (!bytes) {
        refused->refusal = Preview::Refusal::unreadable;
        refused->refusalDetail = error;
    }
    return bytes;
}

Preview preview(const QByteArray& bytes, const AppData& existing, const Options& options)
{
    Preview p;
    if (bytes.size() > kMaxBytes) {
        p.refusal = Preview::Refusal::tooLarge;
        return p;
    }
    p.statusMap = options.statuses;
    p.encoding = options.encoding.value_or(guessEncoding(bytes));
    const QString text = decode(bytes, p.encoding);
    p.delimiter = options.delimiter.value_or(guessDelimiter(text));
    Split parts = split(text, p.delimiter);
    if (parts.tooMany) {
        p.refusal = Preview::Refusal::tooManyRows;
        return p;
    }
    if (parts.records.isEmpty()) {
        p.refusal = Preview::Refusal::empty;
        return p;
    }
    p.header = parts.records.takeFirst();
    parts.lines.removeFirst();
    p.records = std::move(parts.records);
    p.recordLines = std::move(parts.lines);

    if (options.roles) {
        p.roles = *options.roles;
        p.roles.resize(p.header.size(), Role::ignore);
    } else {
        std::array<bool, size_t(Role::paidOn) + 1> taken{};
        for (const QString& h : std::as_const(p.header)) {
            Role r = roleOfHeader(h);
            if (taken[size_t(r)])
                r = Role::ignore;
            else if (r != Role::ignore)
                taken[size_t(r)] = true;
            p.roles.append(r);
        }
    }
    const auto column = [&p](Role r) { return int(p.roles.indexOf(r)); };
    for (Role r : {Role::name, Role::fee, Role::date}) {
        if (column(r) < 0)
            p.missingRoles.append(r);
    }
    const auto at = [](const QStringList& record, int c) {
        return c >= 0 && c < record.size() ? record.at(c) : QString();
    };

    // The guesses look at every non-empty cell of their columns.
    QVector<QString> dates;
    QVector<QString> amounts;
    for (const QStringList& record : std::as_const(p.records)) {
        for (int c = 0; c < p.roles.size(); ++c) {
            const Role r = p.roles.at(c);
            if (!isDateRole(r) && !isAmountRole(r))
                continue;
            const QString cell = at(record, c);
            if (!cell.isEmpty())
                (isDateRole(r) ? dates : amounts).append(cell);
        }
    }
    p.dateFormat = options.dateFormat ? options.dateFormat
                                      : agreed(kDateFormats, dates, [](const QString& cell, DateFormat f) {
                                            return readDate(cell, f);
                                        });
    p.decimalSeparator =
        options.decimalSeparator
            ? options.decimalSeparator
            : agreed(std::array<QChar, 2>{u'.', u','}, amounts, [](const QString& cell, QChar s) {
                  return plausibleAmount(cell) ? Amount::parse(cell, s) : std::nullopt;
              });

    // Statuses the user has not mapped hold every row back until they are.
    const int statusColumn = column(Role::status);
    // A file repeats a handful of status texts: each is looked up once.
    struct LookedUp
    {
        std::optional<Status> status;
        bool named = false; // a built-in name covers it
        QString key;
    };
    QHash<QString, LookedUp> statusCache;
    const auto lookUp = [&](const QString& cell) -> const LookedUp& {
        auto cached = statusCache.constFind(cell);
        if (cached == statusCache.constEnd()) {
            LookedUp l;
            l.key = statusKey(cell);
            const std::optional<Status> named = statusOf(cell);
            const auto mapped = options.statuses.constFind(l.key);
            l.named = named.has_value();
            l.status = mapped != options.statuses.constEnd() ? std::optional<Status>(*mapped) : named;
            cached = statusCache.insert(cell, l);
        }
        return *cached;
    };
    const auto statusFor = [&](const QString& cell) { return lookUp(cell).status; };
    // Each text no built-in name covers, answered or not; the unanswered ones also on their own.
    QHash<QString, int> unknownAt;
    QHash<QString, int> mappableAt;
    const auto count = [](QHash<QString, int>& where, QVector<UnknownStatus>& list, const LookedUp& l,
                          const QString& cell, int line) {
        const auto it = where.constFind(l.key);
        if (it == where.constEnd()) {
            where.insert(l.key, int(list.size()));
            list.append({cell, 1, line});
        } else {
            ++list[*it].rows;
        }
    };
    for (int i = 0; i < p.records.size(); ++i) {
        const QString cell = at(p.records.at(i), statusColumn);
        const LookedUp& l = lookUp(cell);
        if (!l.named)
            count(mappableAt, p.mappableStatuses, l, cell, p.recordLines.at(i));
        if (!l.status)
            count(unknownAt, p.unknownStatuses, l, cell, p.recordLines.at(i));
    }
    if (!p.dateFormat || !p.decimalSeparator || !p.missingRoles.isEmpty() || !p.unknownStatuses.isEmpty())
        return p;

    QSet<DuplicateKey> known;
    QSet<QUuid> ids;
    for (const Project& e : existing.projects) {
        known.insert({e.name, e.client, e.localDay().toJulianDay(), e.fee});
        ids.insert(e.id);
    }
    const int idColumn = column(Role::id);
    QHash<QDate, QDateTime> noons;
    for (int i = 0; i < p.records.size(); ++i) {
        const QStringList& record = p.records.at(i);
        const int line = p.recordLines.at(i);
        std::optional<RowProblem> problem;
        const auto fail = [&](RowProblem::Reason reason, Role r, const QString& cell) {
            if (!problem)
                problem = RowProblem{line, reason, r, cell};
        };
        Project project;
        project.name = at(record, column(Role::name));
        if (project.name.isEmpty())
            fail(RowProblem::Reason::noName, Role::name, {});
        project.client = at(record, column(Role::client));
        project.category = at(record, column(Role::category));
        project.status = *statusFor(at(record, statusColumn));

        for (Role r : {Role::fee, Role::outsource}) {
            const QString cell = at(record, column(r));
            if (cell.isEmpty()) {
                // No outsourcing is the usual case; a fee must be there.
                if (r == Role::fee)
                    fail(RowProblem::Reason::noAmount, r, cell);
                continue;
            }
            const std::optional<double> value =
                plausibleAmount(cell) ? Amount::parse(cell, *p.decimalSeparator) : std::nullopt;
            if (!value)
                fail(RowProblem::Reason::badAmount, r, cell);
            else if (looksNegative(cell) && *value != 0)
                fail(RowProblem::Reason::negativeAmount, r, cell);
            else if (*value > Amount::kMaxAmount)
                fail(RowProblem::Reason::tooLarge, r, cell);
            else
                (r == Role::fee ? project.fee : project.outsource) = *value;
        }
        const auto readDay = [&](Role r, bool needed) -> QDate {
            const QString cell = at(record, column(r));
            if (cell.isEmpty()) {
                if (needed)
                    fail(RowProblem::Reason::noDate, r, cell);
                return {};
            }
            // Days written by an export are ISO whatever the rest of the file uses.
            std::optional<QDate> day = readDate(cell, *p.dateFormat);
            if (!day && r != Role::date)
                day = readDate(cell, DateFormat::iso);
            if (!day) {
                fail(RowProblem::Reason::badDate, r, cell);
                return {};
            }
            return *day;
        };
        const QDate day = readDay(Role::date, true);
        project.pendingSince = readDay(Role::pendingSince, false);
        project.dueDate = readDay(Role::dueDate, false);
        project.paidOn = readDay(Role::paidOn, false);
        if (problem) {
            p.problems.append(*problem);
            continue;
        }
        // Files repeat their days; the zone rules are looked up once per day.
        auto noon = noons.constFind(day);
        if (noon == noons.constEnd())
            noon = noons.insert(day, atNoon(QDateTime(day, QTime(12, 0), Qt::LocalTime)));
        project.date = *noon;
        // Without an id of its own a row gets one as it is imported: fresh ids for every
        // preview would cost more than the rest of it.
        const std::optional<QUuid> id = uuidFromText(at(record, idColumn));
        if (id && !id->isNull() && !ids.contains(*id)) {
            project.id = *id;
            ids.insert(*id);
        }
        const bool duplicate = known.contains({project.name, project.client, day.toJulianDay(), project.fee});
        p.rows.append({line, std::move(project), duplicate});
    }
    return p;
}

Options remembered(const QStringList& header)
{
    Options o;
    const QJsonArray entries =
        QJsonDocument::fromJson(Preferences::text(kMappings).value_or(QString()).toUtf8()).array();
    const QString key = headerKey(header);
    for (const QJsonValue& v : entries) {
        const QJsonObject e = v.toObject();
        if (e.value(QLatin1String("header")).toString() != key)
            continue;
        QVector<Role> roles;
        for (const QJsonValue& r : e.value(QLatin1String("roles")).toArray()) {
            const int n = r.toInt(-1);
            roles.append(n >= 0 && n <= int(Role::paidOn) ? Role(n) : Role::ignore);
        }
        if (roles.size() == header.size())
            o.roles = roles;
        const int format = e.value(QLatin1String("dateFormat")).toInt(-1);
        if (format >= 0 && format < int(kDateFormats.size()))
            o.dateFormat = kDateFormats[size_t(format)];
        const QString decimal = e.value(QLatin1String("decimal")).toString();
        if (decimal == QLatin1String(".") || decimal == QLatin1String(","))
            o.decimalSeparator = decimal.front();
        const QJsonObject statuses = e.value(QLatin1String("statuses")).toObject();
        for (auto it = statuses.constBegin(); it != statuses.constEnd(); ++it) {
            if (const auto s = StatusInfo::fromRaw(it.value().toString()))
                o.statuses.insert(it.key(), *s);
        }
        break;
    }
    return o;
}

void remember(const QStringList& header, const Options& choices)
{
    const QString key = headerKey(header);
    QJsonObject e;
    e.insert(QLatin1String("header"), key);
    if (choices.roles) {
        QJsonArray roles;
        for (Role r : *choices.roles)
            roles.append(int(r));
        e.insert(QLatin1String("roles"), roles);
    }
    if (choices.dateFormat)
        e.insert(QLatin1String("dateFormat"), int(*choices.dateFormat));
    if (choices.decimalSeparator)
        e.insert(QLatin1String("decimal"), QString(*choices.decimalSeparator));
    QJsonObject statuses;
    for (auto it = choices.statuses.constBegin(); it != choices.statuses.constEnd(); ++it)
        statuses.insert(it.key(), StatusInfo::rawValue(it.value()));
    e.insert(QLatin1String("statuses"), statuses);

    // Newest first; a header line seen again moves to the front.
    QJsonArray entries{e};
    const QJsonArray old =
        QJsonDocument::fromJson(Preferences::text(kMappings).value_or(QString()).toUtf8()).array();
    for (const QJsonValue& v : old) {
        if (entries.size() >= kRememberedHeaders)
            break;
        if (v.toObject().value(QLatin1String("header")).toString() != key)
            entries.append(v);
    }
    Preferences::setText(kMappings, QString::fromUtf8(QJsonDocument(entries).toJson(QJsonDocument::Compact)));
}

} // namespace CsvImport
