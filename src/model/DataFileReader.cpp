// Reading the data file: simdjson's first stage (UTF-8 check and the index of every structural
// character and value start, at several GB/s), then one pass over that index that checks the
// grammar exactly as Qt's JSON parser does and decodes straight into the records.
//
// The rules are Qt 6's (qjsonparser.cpp), which the earlier QJsonDocument reader followed and
// tests/support/OracleReader.cpp still does; tst_reader_agreement and reader_diff_fuzzer hold the
// two readers to the same answers:
// - a leading UTF-8 byte-order mark is skipped; white space is space, tab, line feed, return;
// - the top must be an object; nothing but white space may follow it;
// - objects and arrays nest at most 1024 deep, counted in ignored values too;
// - in a string, control characters may stand raw, and a backslash before any character other
//   than b f n r t u " \ / stands for that character itself (Latin-1 for a byte above 127);
//   \uXXXX gives that UTF-16 unit, a lone surrogate too; other bytes must be valid UTF-8;
// - a number is [-](0|digits)[.digits][(e|E)[+|-]digits] with every digit group but the
//   exponent's allowed to be empty (".5" and "5." read), read by QByteArray::toLongLong and then
//   QByteArray::toDouble; out of range (infinite, or a non-zero number that reads as zero) makes
//   the document unreadable, even in an ignored value; -0 reads as 0;
// - of a key given twice in an object the last counts; a null member takes its default.
//
// simdjson's first stage refuses two things Qt takes: control characters inside strings, and
// a backslash before a byte that is not valid UTF-8 alone. For such a document only (found by
// simdjson's refusal), those characters are rewritten as the \u00XX escape that reads the same,
// and the first stage runs again.
#include "model/DataFile.h"
#include "model/Pages.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QScopeGuard>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <csignal>
#include <cstring>
#include <emmintrin.h>
#include <exception>
#include <memory>
#include <mutex>
#include <simdjson.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <vector>

static_assert(DataFile::kReadPadding >= simdjson::SIMDJSON_PADDING,
              "simdjson reads up to its padding past the end");

namespace DataFile {

namespace {

constexpr int kNestingLimit = 1024; // Qt's

constexpr uintptr_t kPage = 4096;

// `bytes` and the reader's padding after them, in whole pages.
size_t paddedPages(size_t bytes)
{
    return (bytes + kReadPadding + kPage - 1) / kPage * kPage;
}

std::atomic<bool> g_secondHalfLate{false};

struct Unreadable
{
    QString reason;
};

[[noreturn]] void fail(const char* reason)
{
    throw Unreadable{QString::fromUtf8(reason)};
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

struct HexTable
{
    signed char value[256];
    constexpr HexTable() : value()
    {
        for (int c = 0; c < 256; ++c)
            value[c] = static_cast<signed char>(c >= '0' && c <= '9'   ? c - '0'
                                                : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                                       : -1);
    }
};
constexpr HexTable kHex;

// How much an index token opens (+1) or closes (-1) the nesting.
struct DepthTable
{
    signed char value[256];
    constexpr DepthTable() : value()
    {
        value[int('{')] = value[int('[')] = 1;
        value[int('}')] = value[int(']')] = -1;
    }
};
constexpr DepthTable kDepthStep;

int hexValue(char c)
{
    return kHex.value[static_cast<unsigned char>(c)];
}

// The first '"' or '\\' at or after `p`; `end` when there is none before it. Reads whole
// 16-byte blocks: the buffer has its padding after `end`.
const char* quoteOrBackslash(const char* p, const char* end)
{
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i backslash = _mm_set1_epi8('\\');
    while (p < end) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int mask =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, quote), _mm_cmpeq_epi8(block, backslash)));
        if (mask) {
            p += __builtin_ctz(unsigned(mask));
            return p < end ? p : end;
        }
        p += 16;
    }
    return end;
}

// A string value as found in the document: the bytes between its quotes.
struct RawString
{
    const char* begin = nullptr;
    const char* end = nullptr;
    bool escaped = false; // holds a backslash: decoded by hand

    std::string_view view() const { return std::string_view(begin, size_t(end - begin)); }
    // Reads as its own bytes. Qt reads a string without escapes with QString::fromUtf8, which
    // drops a byte-order mark at its start; one with escapes keeps every mark.
    bool plain() const { return !escaped && !startsWithMark(begin, end); }
    bool is(const char* ascii, size_t n) const
    {
        return plain() && size_t(end - begin) == n && !std::memcmp(begin, ascii, n);
    }
    static bool startsWithMark(const char* p, const char* e)
    {
        return e - p >= 3 && static_cast<unsigned char>(p[0]) == 0xEF &&
               static_cast<unsigned char>(p[1]) == 0xBB && static_cast<unsigned char>(p[2]) == 0xBF;
    }

    QString decode() const;
};

// The bytes of `p` to `end` as UTF-16 units when every one is ASCII; false (with `out` untouched)
// otherwise. Reads whole 16-byte blocks: the buffer has its padding after `end`.
bool widenAscii(const char* p, const char* end, QString& out)
{
    const qsizetype n = end - p;
    const __m128i zero = _mm_setzero_si128();
    for (const char* q = p; q < end; q += 16) {
        int mask = _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(q)));
        if (end - q < 16)
            mask &= (1 << (end - q)) - 1;
        if (mask)
            return false;
    }
    QString s(n, Qt::Uninitialized);
    char16_t* o = reinterpret_cast<char16_t*>(s.data());
    qsizetype i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(o + i), _mm_unpacklo_epi8(block, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(o + i + 8), _mm_unpackhi_epi8(block, zero));
    }
    for (; i < n; ++i)
        o[i] = char16_t(static_cast<unsigned char>(p[i]));
    out = std::move(s);
    return true;
}

QString RawString::decode() const
{
    if (!escaped) {
        QString ascii;
        if (widenAscii(begin, end, ascii))
            return ascii;
        return QString::fromUtf8(begin, end - begin); // valid UTF-8: checked by the first stage
    }
    QString out;
    out.reserve(end - begin);
    const char* p = begin;
    while (p < end) {
        const char* run = p;
        while (p < end && *p != '\\')
            ++p;
        // Byte-order marks as characters: QString::fromUtf8 would drop one at the start.
        while (startsWithMark(run, p)) {
            out += QChar(0xFEFF);
            run += 3;
        }
        if (p > run)
            out += QString::fromUtf8(run, p - run);
        if (p == end)
            break;
        const char c = p[1]; // checked by scanString
        p += 2;
        switch (c) {
        case 'b':
            out += QChar(0x8);
            break;
        case 'f':
            out += QChar(0xc);
            break;
        case 'n':
            out += QChar(0xa);
            break;
        case 'r':
            out += QChar(0xd);
            break;
        case 't':
            out += QChar(0x9);
            break;
        case 'u': {
            char16_t unit = 0;
            for (int i = 0; i < 4; ++i)
                unit = char16_t(unit << 4 | hexValue(p[i]));
            out += QChar(unit);
            p += 4;
            break;
        }
        default: // " \ / and any other ASCII character stand for themselves
            out += QChar(char16_t(static_cast<unsigned char>(c)));
        }
    }
    return out;
}

// A hash of a short text, eight bytes at a time.
size_t hashBytes(const char* p, size_t n)
{
    constexpr quint64 kPrime = 0x100000001b3ull;
    quint64 h = 0xcbf29ce484222325ull ^ n;
    if (n >= 8) {
        quint64 w;
        for (size_t i = 0; i + 8 < n; i += 8) {
            std::memcpy(&w, p + i, 8);
            h = (h ^ w) * kPrime;
        }
        std::memcpy(&w, p + n - 8, 8); // the last eight, overlapping the previous word
        h = (h ^ w) * kPrime;
    } else {
        for (size_t i = 0; i < n; ++i)
            h = (h ^ static_cast<unsigned char>(p[i])) * kPrime;
    }
    h ^= h >> 29;
    h *= 0xbf58476d1ce4e5b9ull;
    return size_t(h ^ (h >> 32));
}

// Equal client and category texts read once and shared, looked up by their bytes in a small
// open-addressing table (a document has few distinct ones).
class Interner
{
public:
    QString text(const RawString& s)
    {
        if (s.escaped)
            return s.decode();
        const std::string_view key = s.view();
        if (m_used * 2 >= m_slots.size())
            grow();
        const size_t mask = m_slots.size() - 1;
        for (size_t i = hash(key) & mask;; i = (i + 1) & mask) {
            Slot& slot = m_slots[i];
            if (!slot.used) {
                slot.used = true;
                slot.key = key;
                slot.text = s.decode();
                ++m_used;
                return slot.text;
            }
            if (slot.key == key)
                return slot.text;
        }
    }

private:
    struct Slot
    {
        std::string key; // a copy: the document's pages go while it is read
        QString text;
        bool used = false;
    };
    std::vector<Slot> m_slots = std::vector<Slot>(64);
    size_t m_used = 0;

    static size_t hash(std::string_view key) { return hashBytes(key.data(), key.size()); }
    void grow()
    {
        std::vector<Slot> old(m_slots.size() * 2);
        old.swap(m_slots);
        const size_t mask = m_slots.size() - 1;
        for (Slot& o : old) {
            if (!o.used)
                continue;
            size_t i = hash(o.key) & mask;
            while (m_slots[i].used)
                i = (i + 1) & mask;
            m_slots[i] = std::move(o);
        }
    }
};

// Projects share few distinct dates: each distinct text is read once, looked up by its bytes.
class DateCache
{
public:
    std::optional<QDateTime> date(const RawString& s)
    {
        if (s.escaped)
            return parseDate(s.decode());
        const size_t n = size_t(s.end - s.begin);
        if (n > kKeySize)
            return parseDate(s.view()); // no date, unless a byte-order mark at its start is dropped
        if (m_used * 2 >= m_slots.size())
            grow();
        const size_t mask = m_slots.size() - 1;
        for (size_t i = hash(s.begin, n) & mask;; i = (i + 1) & mask) {
            Slot& slot = m_slots[i];
            if (!slot.used) {
                slot.used = true;
                slot.size = quint8(n);
                std::memcpy(slot.key, s.begin, n);
                slot.date = parseDate(s.view());
                ++m_used;
                return slot.date;
            }
            if (slot.size == n && !std::memcmp(slot.key, s.begin, n))
                return slot.date;
        }
    }

private:
    static constexpr size_t kKeySize = 25;
    struct Slot
    {
        char key[kKeySize]; // a copy: the document's pages go while it is read
        quint8 size = 0;
        bool used = false;
        std::optional<QDateTime> date;
    };
    std::vector<Slot> m_slots = std::vector<Slot>(256);
    size_t m_used = 0;

    static size_t hash(const char* p, size_t n) { return hashBytes(p, n); }
    void grow()
    {
        std::vector<Slot> old(m_slots.size() * 2);
        old.swap(m_slots);
        const size_t mask = m_slots.size() - 1;
        for (Slot& o : old) {
            if (!o.used)
                continue;
            size_t i = hash(o.key, o.size) & mask;
            while (m_slots[i].used)
                i = (i + 1) & mask;
            m_slots[i] = std::move(o);
        }
    }
};

struct Value
{
    enum Kind : quint8 { Absent, Null, Boolean, Number, String, Array, Object };
    Kind kind = Absent;
    double number = 0;
    RawString text;

    bool present() const { return kind != Absent && kind != Null; }
};

struct Chunks;

class Reader
{
public:
    Reader(const char* data, size_t size, const uint32_t* index, uint32_t count)
        : m_begin(data), m_end(data + size), m_index(index), m_count(count)
    {}

    AppData document();

    // Gives the pages of the document and of the index back to the system behind the reading
    // (the memory is ours: a ReadBuffer and the index's Pages).
    void releaseBehind(char* bufferStart) { m_releaseFrom = bufferStart; }

private:
    const char* m_begin;
    const char* m_end;
    const uint32_t* m_index;
    uint32_t m_count;
    uint32_t m_at = 0; // the next token
    int m_depth = 0;
    char* m_releaseFrom = nullptr;        // the document's first byte not yet given back; null: none
    uint32_t m_indexReleasedTo = 0;       // the index's first entry not yet given back
    uint32_t m_releaseLimit = UINT32_MAX; // the token from which another thread reads
    size_t m_nextRelease = 0;             // the document offset at which to give back next
    size_t m_firstRelease = 0;            // the document offset of the first
    // Gives back nothing until set: another thread still reads what lies behind this reading.
    const std::atomic<bool>* m_releaseAfter = nullptr;

    void release();
    Interner m_texts;
    DateCache m_dates;

    // The first character of the next token; -1 past the last.
    int token() const { return m_at < m_count ? static_cast<unsigned char>(m_begin[m_index[m_at]]) : -1; }
    const char* tokenStart() const { return m_begin + m_index[m_at]; }
    // A value that ended at `p` must be followed by white space and then the next token.
    void endToken(const char* p)
    {
        while (p < m_end && isSpace(*p))
            ++p;
        const char* next = m_at + 1 < m_count ? m_begin + m_index[m_at + 1] : m_end;
        if (p != next)
            fail("unexpected characters after a value");
        ++m_at;
    }
    void expect(char c, const char* reason)
    {
        if (token() != static_cast<unsigned char>(c))
            fail(reason);
        ++m_at;
    }
    void enter()
    {
        if (++m_depth > kNestingLimit)
            fail("too deeply nested");
    }

    RawString string();
    // With `integer`: set when Qt's parser would keep the number as an integer.
    double number(std::optional<qint64>* integer = nullptr);
    void literal(const char* word, size_t n);
    void value(Value& v);
    void skip();
    void skipObject();
    void skipArray();
    // A value kept as it was read, for a member this version does not know.
    QJsonValue kept();

    // Object members, with the key decoded only when it holds an escape.
    template <typename OnMember> void members(OnMember onMember);
    template <typename OnElement> void elements(OnElement onElement);

    bool project(Project& p, QString& reason);
    // Each reads the whole value; false with a reason when its meaning cannot be read.
    bool projects(QVector<Project>& out, QString& reason);
    void projectElements(QVector<Project>& out, bool& ok, QString& reason, uint32_t stopAt, bool* reachedStop,
                         Chunks* chunks = nullptr);
    bool strings(QStringList& out, QString& reason);
    bool statuses(QVector<Status>& out, QString& reason);
    bool colors(QMap<QString, QString>& out, QString& reason);
    void terms(QMap<QString, int>& out);
};

void Reader::release()
{
    // Called between projects: nothing behind the next token is looked at again. Memory goes
    // back every MB over the first 8 MB, where the lists being filled and the document together
    // are largest, then every 4 MB. Each call stops the other threads for a flush of their
    // address translations: at every 128 KB that was a tenth of a 100,000-project load, and the
    // peak (just before the reading starts) was no lower for it.
    constexpr size_t kEarly = size_t(8) << 20;
    const size_t step = m_nextRelease - m_firstRelease < kEarly ? size_t(1) << 20 : size_t(4) << 20;
    const uint32_t upto = std::min(std::min(m_at, m_count), m_releaseLimit);
    if (!m_releaseFrom || upto == 0)
        return;
    if (m_releaseAfter) {
        if (!m_releaseAfter->load(std::memory_order_acquire))
            return;
        m_releaseAfter = nullptr;
    }
    const size_t offset = m_index[upto - 1]; // the last token read
    if (offset < m_nextRelease)
        return;
    if (m_nextRelease == 0)
        m_firstRelease = offset;
    m_nextRelease = offset + step;
    const auto giveBack = [](const void* from, const void* to) {
        // Page by page, also out of a huge page (which splits it): giving back only whole huge
        // pages kept up to 2 MB behind each reading of each region, 5 MB more at the load's peak.
        const uintptr_t a = (reinterpret_cast<uintptr_t>(from) + kPage - 1) & ~(kPage - 1);
        const uintptr_t b = reinterpret_cast<uintptr_t>(to) & ~(kPage - 1);
        if (b > a)
            ::madvise(reinterpret_cast<void*>(a), b - a, MADV_DONTNEED);
        return b > a ? reinterpret_cast<const char*>(b) : static_cast<const char*>(from);
    };
    char* const to = const_cast<char*>(m_begin) + offset;
    m_releaseFrom = const_cast<char*>(giveBack(m_releaseFrom, to));
    const char* indexTo = giveBack(m_index + m_indexReleasedTo, m_index + upto - 1);
    m_indexReleasedTo = uint32_t(reinterpret_cast<const uint32_t*>(indexTo) - m_index);
}

RawString Reader::string()
{
    // At the opening quote.
    RawString s;
    const char* p = tokenStart() + 1;
    s.begin = p;
    for (;;) {
        p = quoteOrBackslash(p, m_end);
        if (p >= m_end)
            fail("unterminated string");
        if (*p == '"')
            break;
        s.escaped = true;
        if (++p >= m_end)
            fail("unterminated string");
        const unsigned char c = static_cast<unsigned char>(*p++);
        if (c == 'u') {
            if (m_end - p < 4)
                fail("illegal escape sequence");
            for (int i = 0; i < 4; ++i) {
                if (hexValue(p[i]) < 0)
                    fail("illegal escape sequence");
            }
            p += 4;
        } else if (c >= 0x80) {
            // Qt takes the byte as a character of its own; in a document that passed the UTF-8
            // check it starts a sequence, whose next byte then is no valid start.
            fail("invalid UTF-8 after a backslash");
        }
    }
    s.end = p;
    endToken(p + 1);
    return s;
}

double Reader::number(std::optional<qint64>* integer)
{
    const char* const start = tokenStart();
    const char* p = start;
    const bool negative = p < m_end && *p == '-';
    if (negative)
        ++p;
    const char* const intBegin = p;
    if (p < m_end && *p == '0') {
        ++p;
    } else {
        while (p < m_end && isDigit(*p))
            ++p;
    }
    const char* const intEnd = p;
    bool isInt = true;
    bool hasDot = false;
    const char* fracBegin = p;
    const char* fracEnd = p;
    if (p < m_end && *p == '.') {
        hasDot = true;
        fracBegin = ++p;
        while (p < m_end && isDigit(*p)) {
            isInt = isInt && *p == '0';
            ++p;
        }
        fracEnd = p;
    }
    bool hasExponent = false;
    if (p < m_end && (*p == 'e' || *p == 'E')) {
        isInt = false;
        hasExponent = true;
        ++p;
        if (p < m_end && (*p == '-' || *p == '+'))
            ++p;
        while (p < m_end && isDigit(*p))
            ++p;
    }
    const char* const end = p;
    endToken(end);

    const qsizetype intDigits = intEnd - intBegin;
    const qsizetype fracDigits = fracEnd - fracBegin;
    // QByteArray::toLongLong: an integer that fits reads exactly, and then as double.
    if (isInt && !hasDot && intDigits > 0 && intDigits <= 18) {
        qint64 n = 0;
        for (const char* d = intBegin; d < intEnd; ++d)
            n = n * 10 + (*d - '0');
        if (integer)
            *integer = negative ? -n : n;
        return double(negative ? -n : n); // -0 reads as 0
    }
    // A number of at most 15 significant digits, without exponent: the digits and the power of
    // ten are both exact doubles, so one division rounds correctly, as Qt's reading does.
    if (!hasExponent && intDigits + fracDigits > 0 && intDigits + fracDigits <= 15 && fracDigits <= 22) {
        static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                             1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
        qint64 m = 0;
        for (const char* d = intBegin; d < intEnd; ++d)
            m = m * 10 + (*d - '0');
        for (const char* d = fracBegin; d < fracEnd; ++d)
            m = m * 10 + (*d - '0');
        const double v = double(m) / kPowers[fracDigits];
        if (v == 0)
            return 0; // -0 reads as 0 (Qt keeps whole doubles as integers)
        return negative ? -v : v;
    }
    // Everything else exactly as Qt reads it.
    const QByteArray text = QByteArray::fromRawData(start, end - start);
    if (isInt && !hasDot) {
        bool ok = false;
        const qlonglong n = text.toLongLong(&ok);
        if (ok) {
            if (integer)
                *integer = n;
            return double(n);
        }
    }
    bool ok = false;
    const double d = text.toDouble(&ok);
    if (!ok)
        fail("illegal number");
    return d == 0 ? 0.0 : d;
}

void Reader::literal(const char* word, size_t n)
{
    const char* p = tokenStart();
    if (size_t(m_end - p) < n || std::memcmp(p, word, n) != 0)
        fail("illegal value");
    endToken(p + n);
}

void Reader::value(Value& v)
{
    switch (token()) {
    case '"':
        v.kind = Value::String;
        v.text = string();
        return;
    case '{':
        v.kind = Value::Object;
        skipObject();
        return;
    case '[':
        v.kind = Value::Array;
        skipArray();
        return;
    case 'n':
        v.kind = Value::Null;
        literal("null", 4);
        return;
    case 't':
        v.kind = Value::Boolean;
        literal("true", 4);
        return;
    case 'f':
        v.kind = Value::Boolean;
        literal("false", 5);
        return;
    case -1:
    case ',':
    case ':':
    case ']':
    case '}':
        fail("missing value");
    default:
        v.kind = Value::Number;
        v.number = number();
    }
}

void Reader::skip()
{
    Value ignored;
    value(ignored);
}

QJsonValue Reader::kept()
{
    switch (token()) {
    case '"':
        return string().decode();
    case '{': {
        QJsonObject o;
        members([&](const RawString& key) { o.insert(key.decode(), kept()); }); // the last of a key counts
        return o;
    }
    case '[': {
        QJsonArray a;
        elements([&] { a.append(kept()); });
        return a;
    }
    case 'n':
        literal("null", 4);
        return QJsonValue(QJsonValue::Null);
    case 't':
        literal("true", 4);
        return true;
    case 'f':
        literal("false", 5);
        return false;
    case -1:
    case ',':
    case ':':
    case ']':
    case '}':
        fail("missing value");
    default: {
        std::optional<qint64> integer;
        const double d = number(&integer);
        if (integer)
            return QJsonValue(*integer);
        // Qt's parser keeps every whole number that fits as an integer too, and it is then
        // written as one.
        constexpr double kLimit = 9223372036854775808.0; // 2^63
        if (d == std::trunc(d) && d >= -kLimit && d < kLimit)
            return QJsonValue(qint64(d));
        return QJsonValue(d);
    }
    }
}

template <typename OnMember> void Reader::members(OnMember onMember)
{
    // At '{'.
    ++m_at;
    enter();
    if (token() == '}') {
        ++m_at;
        --m_depth;
        return;
    }
    for (;;) {
        if (token() != '"')
            fail("a key is not a string");
        const RawString key = string();
        expect(':', "missing ':' after a key");
        onMember(key);
        const int t = token();
        ++m_at;
        if (t == ',')
            continue;
        if (t == '}')
            break;
        fail("missing ',' between members");
    }
    --m_depth;
}

template <typename OnElement> void Reader::elements(OnElement onElement)
{
    // At '['.
    ++m_at;
    enter();
    if (token() == ']') {
        ++m_at;
        --m_depth;
        return;
    }
    for (;;) {
        onElement();
        const int t = token();
        ++m_at;
        if (t == ',')
            continue;
        if (t == ']')
            break;
        fail("missing ',' between values");
    }
    --m_depth;
}

void Reader::skipObject()
{
    members([this](const RawString&) { skip(); });
}

void Reader::skipArray()
{
    elements([this] { skip(); });
}

// Which known key a member has; keys with escapes are compared decoded, as Qt does.
template <size_t N>
int keyIndex(const RawString& key, const char* const (&names)[N], const size_t (&sizes)[N])
{
    if (key.plain()) {
        const size_t n = size_t(key.end - key.begin);
        for (size_t i = 0; i < N; ++i) {
            if (sizes[i] == n && key.begin[0] == names[i][0] && !std::memcmp(key.begin, names[i], n))
                return int(i);
        }
        return -1;
    }
    const QString decoded = key.decode();
    for (size_t i = 0; i < N; ++i) {
        if (decoded == QLatin1String(names[i], qsizetype(sizes[i])))
            return int(i);
    }
    return -1;
}

std::optional<Status> statusOf(const RawString& s)
{
    if (s.is("paid", 4))
        return Status::paid;
    if (s.is("pending", 7))
        return Status::pending;
    if (s.is("ongoing", 7))
        return Status::ongoing;
    if (s.plain())
        return std::nullopt;
    return StatusInfo::fromRaw(s.decode());
}

std::optional<QUuid> uuidOf(const RawString& s)
{
    if (!s.plain())
        return uuidFromText(s.decode());
    if (s.end - s.begin != 36)
        return std::nullopt;
    const char* t = s.begin;
    if (t[8] != '-' || t[13] != '-' || t[18] != '-' || t[23] != '-')
        return std::nullopt;
    // Where each byte's two digits stand in the 8-4-4-4-12 form.
    static constexpr quint8 kAt[16] = {0, 2, 4, 6, 9, 11, 14, 16, 19, 21, 24, 26, 28, 30, 32, 34};
    uchar bytes[16];
    int bad = 0;
    for (int i = 0; i < 16; ++i) {
        const int high = hexValue(t[kAt[i]]);
        const int low = hexValue(t[kAt[i] + 1]);
        bad |= high | low; // negative when either is no digit
        bytes[i] = uchar((high & 15) << 4 | (low & 15));
    }
    if (bad < 0)
        return std::nullopt;
    return QUuid::fromRfc4122(QByteArrayView(reinterpret_cast<const char*>(bytes), 16));
}

enum ProjectKey {
    kName,
    kFee,
    kClient,
    kCategory,
    kOutsource,
    kStatus,
    kId,
    kDate,
    kPendingSince,
    kDueDate,
    kPaidOn,
    kProjectKeys
};
constexpr const char* kProjectKeyNames[] = {"name", "fee",  "client",       "category", "outsource", "status",
                                            "id",   "date", "pendingSince", "dueDate",  "paidOn"};
constexpr size_t kProjectKeySizes[] = {4, 3, 6, 8, 9, 6, 2, 4, 12, 7, 6};

// One project; false with a reason when it cannot be read. The whole object is read either way.
bool Reader::project(Project& p, QString& reason)
{
    if (token() != '{') {
        skip();
        reason = QStringLiteral("a project is not an object");
        return false;
    }
    Value v[kProjectKeys];
    members([&](const RawString& key) {
        const int k = keyIndex(key, kProjectKeyNames, kProjectKeySizes);
        if (k < 0)
            p.extra.insert(key.decode(), kept());
        else
            value(v[k]);
    });
    const auto notText = [&](const char* key) {
        reason = QStringLiteral("“%1” is not a text").arg(QLatin1String(key));
        return false;
    };
    const auto notNumber = [&](const char* key) {
        reason = QStringLiteral("“%1” is not a number").arg(QLatin1String(key));
        return false;
    };
    if (v[kName].present()) {
        if (v[kName].kind != Value::String)
            return notText("name");
        p.name = v[kName].text.decode();
    }
    if (v[kFee].present()) {
        if (v[kFee].kind != Value::Number)
            return notNumber("fee");
        p.fee = v[kFee].number;
    }
    if (v[kClient].present()) {
        if (v[kClient].kind != Value::String)
            return notText("client");
        p.client = m_texts.text(v[kClient].text);
    }
    if (v[kCategory].present()) {
        if (v[kCategory].kind != Value::String)
            return notText("category");
        p.category = m_texts.text(v[kCategory].text);
    }
    if (v[kOutsource].present()) {
        if (v[kOutsource].kind != Value::Number)
            return notNumber("outsource");
        p.outsource = v[kOutsource].number;
    }
    if (v[kStatus].present()) {
        const auto s = v[kStatus].kind == Value::String ? statusOf(v[kStatus].text) : std::nullopt;
        if (!s) {
            reason = QStringLiteral("unknown status");
            return false;
        }
        p.status = *s;
    } else {
        p.status = Status::ongoing;
    }
    if (v[kId].present()) {
        const auto id = v[kId].kind == Value::String ? uuidOf(v[kId].text) : std::nullopt;
        if (!id) {
            reason = QStringLiteral("a project id is not a UUID");
            return false;
        }
        p.id = *id;
    } else {
        p.id = QUuid::createUuid();
    }
    if (v[kDate].present()) {
        std::optional<QDateTime> d;
        if (v[kDate].kind == Value::String)
            d = m_dates.date(v[kDate].text);
        if (!d) {
            reason = QStringLiteral("a project date is not an internet date-time");
            return false;
        }
        p.date = *d;
    } else {
        p.date = QDateTime::currentDateTime();
    }
    for (const auto& [k, day] : {std::pair{kPendingSince, &p.pendingSince}, std::pair{kDueDate, &p.dueDate},
                                 std::pair{kPaidOn, &p.paidOn}}) {
        if (!v[k].present())
            continue;
        std::optional<QDate> d;
        if (v[k].kind == Value::String)
            d = v[k].text.escaped ? parseDay(v[k].text.decode()) : parseDay(v[k].text.view());
        if (!d) {
            reason = QStringLiteral("a payment date is not a calendar day");
            return false;
        }
        *day = *d;
    }
    if (!v[kName].present() || !v[kFee].present()) {
        reason = QStringLiteral("a project lacks “name” or “fee”");
        return false;
    }
    return true;
}

// A list's memory from its second 2 MB on asked to be in huge pages: filling it then costs a few
// page faults, not thousands. The first 2 MB fill in small pages while the reading starts giving
// the document back, so that the list does not jump ahead of it at the load's peak; the last
// part (past `expected` elements) too, so that no huge page is filled beyond the list's end.
void inHugePages(const QVector<Project>& list, qsizetype expected)
{
    constexpr uintptr_t kHuge = uintptr_t(2) << 20;
    const uintptr_t from = (reinterpret_cast<uintptr_t>(list.constData()) + 2 * kHuge - 1) & ~(kHuge - 1);
    const uintptr_t to =
        reinterpret_cast<uintptr_t>(list.constData() + std::min(expected, list.capacity())) & ~(kHuge - 1);
    if (to > from)
        ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
}

// The second part's projects, in lists of 16,384 (2.5 MB), handed to the first part's thread as
// each is filled: it moves them in behind its own while the rest are still being read, and each
// list's memory goes as it is moved (no second copy of the part at the peak).
struct Chunks
{
    static constexpr qsizetype kSize = 16384;
    explicit Chunks(size_t most) : lists(most) {}
    std::vector<QVector<Project>> lists; // never resized while shared
    size_t used = 0;                     // the reading's own
    std::mutex mutex;
    std::condition_variable more;
    size_t filled = 0;     // guarded by mutex: the lists before it are no longer touched by the reading
    bool finished = false; // guarded by mutex: the reading has ended; filled is all it made

    void publish(size_t count, bool end)
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            filled = count;
            finished = finished || end;
        }
        more.notify_one();
    }
};

// Moves the lists of `chunks` in behind `out` as they are filled, until the reading ends.
void takeChunks(QVector<Project>& out, Chunks& chunks)
{
    size_t taken = 0;
    for (bool end = false; !end;) {
        size_t upto = 0;
        {
            std::unique_lock<std::mutex> lock(chunks.mutex);
            chunks.more.wait(lock, [&] { return chunks.filled > taken || chunks.finished; });
            upto = chunks.filled;
            end = chunks.finished;
        }
        for (; taken < upto; ++taken) {
            out.append(std::move(chunks.lists[taken]));
            chunks.lists[taken] = QVector<Project>();
        }
    }
}

// The elements of the projects list from the token after '[' or ',' up to and including its ']'
// (or, with `stopAt`, up to the ',' at that token when an element ends there: false then in
// `reachedStop` means it was passed inside an element). Past a project that cannot be read the
// rest is only checked.
// With `chunks`, the projects go into its lists instead.
void Reader::projectElements(QVector<Project>& out, bool& ok, QString& reason, uint32_t stopAt,
                             bool* reachedStop, Chunks* chunks)
{
    for (;;) {
        if (!ok) {
            skip();
        } else {
            QVector<Project>* to = &out;
            if (chunks) {
                if (chunks->used == 0 || chunks->lists[chunks->used - 1].size() == Chunks::kSize) {
                    if (chunks->used == chunks->lists.size())
                        fail("too many projects"); // cannot happen: room was made for a token each
                    if (chunks->used > 0)
                        chunks->publish(chunks->used, false);
                    QVector<Project>& list = chunks->lists[chunks->used++];
                    list.reserve(Chunks::kSize);
                    if (chunks->used > 1) // the first fills in small pages, as a list's first 2 MB does
                        inHugePages(list, Chunks::kSize);
                }
                to = &chunks->lists[chunks->used - 1];
            }
            to->append(Project());
            ok = project(to->last(), reason);
        }
        release();
        if (reachedStop && m_at >= stopAt) {
            *reachedStop = m_at == stopAt;
            if (*reachedStop)
                return;
            reachedStop = nullptr; // passed inside an element: read on alone
        }
        const int t = token();
        ++m_at;
        if (t == ',')
            continue;
        if (t == ']')
            return;
        fail("missing ',' between values");
    }
}

bool Reader::projects(QVector<Project>& out, QString& reason)
{
    out = QVector<Project>(); // an earlier list's memory goes before the next is read
    ++m_at;                   // '['
    enter();
    bool ok = true;
    if (token() == ']') {
        ++m_at;
        --m_depth;
        return true;
    }
    // A long list is read in two parts at once. The second starts at a ',' between '}' and '{'
    // past the middle of what is left; it is only a guess (such a ',' may stand inside a
    // project), confirmed when reading the first part ends an element exactly there. Otherwise
    // the first reading simply goes on alone, and the second's result is dropped.
    // The first part is the larger (7/12): the second reading first checks the first part's
    // brackets, and hands its projects over in lists. At 100,000 projects, equal halves left the
    // first reading waiting about 6 ms for the second; these end together.
    constexpr uint32_t kSplitFrom = 200000; // tokens: about 6,000 projects
    uint32_t split = 0;
    if (m_count - m_at >= kSplitFrom && std::thread::hardware_concurrency() >= 2) {
        const uint32_t mid = m_at + uint32_t(uint64_t(m_count - m_at) * 7 / 12);
        for (uint32_t k = mid; k < mid + 4096 && k + 1 < m_count; ++k) {
            if (m_begin[m_index[k]] == ',' && m_begin[m_index[k - 1]] == '}' &&
                m_begin[m_index[k + 1]] == '{') {
                split = k;
                break;
            }
        }
    }
    if (!split) {
        out.reserve(qsizetype((m_count - m_at) / 30 + 1)); // about 35 tokens a project
        inHugePages(out, qsizetype((m_count - m_at) / 40));
        projectElements(out, ok, reason, 0, nullptr);
    } else {
        // This reading gives back nothing past the guess: it may yet pass into the second half.
        m_releaseLimit = split;
        Reader second(m_begin, size_t(m_end - m_begin), m_index, m_count);
        second.m_at = split + 1;
        second.m_depth = m_depth;
        QVector<Project> unused;
        // A token at least per project: room for the most lists it can take.
        Chunks secondOut((m_count - split) / size_t(Chunks::kSize) + 2);
        bool secondOk = true;
        QString secondReason;
        std::exception_ptr secondFailure;
        const bool releasing = m_releaseFrom != nullptr;
        const uint32_t listStart = m_at;
        // The look below reads the first half's tokens: the first reading gives back none of
        // them until it is done (it once read pages already given back, and so their zeros).
        std::atomic<bool> looked{false};
        m_releaseAfter = &looked;
        std::atomic<bool> firstRead{false};
        const bool late = g_secondHalfLate.load(std::memory_order_relaxed);
        std::thread worker([&] {
            while (late && !firstRead.load(std::memory_order_acquire))
                std::this_thread::yield();
            try {
                // When the brackets before the ',' close every project opened since the list's
                // start, the first reading will stop there: this one may then give back the
                // pages behind it too. (A document they do not describe is refused by the first
                // reading before it gets there.)
                if (releasing) {
                    int depth = 0, lowest = 0;
                    for (uint32_t k = listStart; k < split; ++k) {
                        depth += kDepthStep.value[static_cast<unsigned char>(m_begin[m_index[k]])];
                        lowest = std::min(lowest, depth);
                    }
                    if (depth == 0 && lowest == 0) {
                        second.m_releaseFrom = const_cast<char*>(m_begin) + m_index[split];
                        second.m_indexReleasedTo = split;
                    }
                }
                looked.store(true, std::memory_order_release);
                second.projectElements(unused, secondOk, secondReason, 0, nullptr, &secondOut);
            } catch (...) {
                looked.store(true, std::memory_order_release);
                secondFailure = std::current_exception();
            }
            secondOut.publish(secondOut.used, true);
        });
        struct Join // also when the first half throws
        {
            std::thread& t;
            ~Join()
            {
                if (t.joinable())
                    t.join();
            }
        } join{worker};
        bool reached = false;
        {
            // Before the join, also when the first half throws.
            const auto firstReadOnExit =
                qScopeGuard([&] { firstRead.store(true, std::memory_order_release); });
            out.reserve(qsizetype((m_count - m_at) / 30 + 1)); // room for both halves: no copy to join them
            inHugePages(out, qsizetype((m_count - m_at) / 40));
            projectElements(out, ok, reason, split, &reached);
        }
        if (reached && ok)
            takeChunks(out, secondOut);
        worker.join();
        m_releaseAfter = nullptr;
        // A worker that started late (a busy machine) left every page of the first half held:
        // they go back now, not at the end of the load.
        release();
        if (reached) {
            // The same reading the first would have done from here on.
            if (secondFailure)
                std::rethrow_exception(secondFailure);
            if (ok) {
                ok = secondOk;
                reason = secondReason;
            }
            m_at = second.m_at;
        }
    }
    --m_depth;
    if (!ok)
        return false;
    // A copy to the exact size only when much is unused: it would add a second list to the peak.
    if (out.capacity() > out.size() + out.size() / 4 + 16)
        out.squeeze();
    return true;
}

bool Reader::strings(QStringList& out, QString& reason)
{
    out.clear();
    bool ok = true;
    elements([&] {
        Value v;
        value(v);
        if (v.kind != Value::String)
            ok = false;
        else if (ok)
            out.append(v.text.decode());
    });
    if (!ok)
        reason = QStringLiteral("a list holds something other than text");
    return ok;
}

bool Reader::statuses(QVector<Status>& out, QString& reason)
{
    out.clear();
    bool ok = true;
    elements([&] {
        Value v;
        value(v);
        const auto s = v.kind == Value::String ? statusOf(v.text) : std::nullopt;
        if (!s)
            ok = false;
        else
            out.append(*s);
    });
    if (!ok)
        reason = QStringLiteral("unknown status");
    return ok;
}

bool Reader::colors(QMap<QString, QString>& out, QString& reason)
{
    out.clear();
    // The last of equal keys counts, and only its value must be a text.
    QMap<QString, std::optional<QString>> read;
    members([&](const RawString& key) {
        Value v;
        value(v);
        read.insert(key.decode(),
                    v.kind == Value::String ? std::optional<QString>(v.text.decode()) : std::nullopt);
    });
    for (auto it = read.cbegin(); it != read.cend(); ++it) {
        if (!*it) {
            reason = QStringLiteral("a column colour is not a text");
            return false;
        }
        out.insert(it.key(), **it);
    }
    return true;
}

// Entries whose value is not a whole number of days from 0 to kMaxTermsDays are dropped (the
// document stays readable), and so are the default terms, which are never stored.
void Reader::terms(QMap<QString, int>& out)
{
    out.clear();
    QMap<QString, std::optional<int>> read; // the last of equal keys counts
    members([&](const RawString& key) {
        Value v;
        value(v);
        std::optional<int> days;
        if (v.kind == Value::Number && v.number >= 0 && v.number <= AppData::kMaxTermsDays &&
            v.number == std::floor(v.number))
            days = int(v.number);
        read.insert(key.decode(), days);
    });
    for (auto it = read.cbegin(); it != read.cend(); ++it) {
        if (*it && **it != AppData::kDefaultTermsDays)
            out.insert(it.key(), **it);
    }
}

enum DocumentKey {
    kCurrency,
    kTaxRate,
    kTargetGoal,
    kLayout,
    kColumnOrder,
    kColumnColors,
    kClients,
    kCategories,
    kProjects,
    kClientTerms,
    kForecastPending,
    kForecastOngoing,
    kDocumentKeys
};
constexpr const char* kDocumentKeyNames[] = {"currency",
                                             "taxRate",
                                             "targetGoal",
                                             "layout",
                                             "columnOrder",
                                             "columnColors",
                                             "clients",
                                             "categories",
                                             "projects",
                                             "clientTerms",
                                             "forecastPendingPercent",
                                             "forecastOngoingPercent"};
constexpr size_t kDocumentKeySizes[] = {8, 7, 10, 6, 11, 12, 7, 10, 8, 11, 22, 22};

AppData Reader::document()
{
    if (token() != '{')
        fail("the document is not a JSON object");
    // Every member is read as it comes (a list or object in full); the last of a key counts,
    // and its reason if it could not be read.
    Value v[kDocumentKeys];
    QString reasons[kDocumentKeys];
    QString texts[kDocumentKeys];
    QVector<Status> order;
    QMap<QString, QString> colorMap;
    QMap<QString, int> termsMap;
    QStringList clients, categories;
    QVector<Project> projectList;
    QJsonObject extra;
    members([&](const RawString& key) {
        const int k = keyIndex(key, kDocumentKeyNames, kDocumentKeySizes);
        if (k < 0) {
            extra.insert(key.decode(), kept());
            return;
        }
        reasons[k].clear();
        const int t = token();
        if (k == kColumnOrder && t == '[') {
            v[k].kind = Value::Array;
            statuses(order, reasons[k]);
        } else if (k == kColumnColors && t == '{') {
            v[k].kind = Value::Object;
            colors(colorMap, reasons[k]);
        } else if (k == kClientTerms && t == '{') {
            v[k].kind = Value::Object;
            terms(termsMap);
        } else if ((k == kClients || k == kCategories) && t == '[') {
            v[k].kind = Value::Array;
            strings(k == kClients ? clients : categories, reasons[k]);
        } else if (k == kProjects && t == '[') {
            v[k].kind = Value::Array;
            projects(projectList, reasons[k]);
        } else {
            value(v[k]);
            // Texts decoded now: the pages they stand in may be given back before the end.
            if (v[k].kind == Value::String && (k == kCurrency || k == kLayout))
                texts[k] = v[k].text.decode();
        }
    });
    if (m_at != m_count)
        fail("garbage at the end of the document");

    // Now the meaning, in the order of the earlier reader.
    const auto check = [&](int k) {
        if (!reasons[k].isEmpty())
            throw Unreadable{reasons[k]};
    };
    const auto text = [&](int k) {
        if (v[k].kind != Value::String)
            throw Unreadable{QStringLiteral("“%1” is not a text").arg(QLatin1String(kDocumentKeyNames[k]))};
        return texts[k];
    };
    const auto number = [&](int k) {
        if (v[k].kind != Value::Number)
            throw Unreadable{QStringLiteral("“%1” is not a number").arg(QLatin1String(kDocumentKeyNames[k]))};
        return v[k].number;
    };
    const auto list = [&](int k) {
        if (v[k].kind != Value::Array)
            throw Unreadable{QStringLiteral("“%1” is not a list").arg(QLatin1String(kDocumentKeyNames[k]))};
        check(k);
    };
    AppData d;
    if (v[kCurrency].present())
        d.currency = text(kCurrency);
    if (v[kTaxRate].present())
        d.taxRate = number(kTaxRate);
    if (v[kTargetGoal].present())
        d.targetGoal = number(kTargetGoal);
    if (v[kLayout].present()) {
        const auto l =
            v[kLayout].kind == Value::String ? BoardLayoutInfo::fromRaw(texts[kLayout]) : std::nullopt;
        if (!l)
            fail("unknown layout");
        d.layout = *l;
    }
    if (v[kColumnOrder].present()) {
        list(kColumnOrder);
        d.columnOrder = order;
    }
    d.columnOrder = normalizedColumnOrder(d.columnOrder);
    if (v[kColumnColors].present()) {
        if (v[kColumnColors].kind != Value::Object)
            fail("“columnColors” is not an object");
        check(kColumnColors);
        d.columnColors = colorMap;
    }
    if (v[kClients].present()) {
        list(kClients);
        d.clients = clients;
    }
    if (v[kCategories].present()) {
        list(kCategories);
        d.categories = categories;
    }
    if (v[kProjects].present()) {
        list(kProjects);
        d.projects = std::move(projectList);
    }
    if (v[kClientTerms].present()) {
        if (v[kClientTerms].kind != Value::Object)
            fail("“clientTerms” is not an object");
        d.clientTerms = termsMap;
    }
    if (v[kForecastPending].present())
        d.forecastPendingPercent = number(kForecastPending);
    if (v[kForecastOngoing].present())
        d.forecastOngoingPercent = number(kForecastOngoing);
    d.extra = std::move(extra);
    return d;
}

// Inside strings, control characters and a backslash before a control character or a byte above
// 127 become \u00XX: the same text to Qt's reader, and acceptable to simdjson's first stage.
std::unique_ptr<char[]> escapeForFirstStage(const char* data, size_t size, size_t& outSize)
{
    static const char hex[] = "0123456789abcdef";
    // Each rewrite makes one byte six, or two bytes six: counted first.
    size_t grown = 0;
    bool inString = false;
    for (size_t i = 0; i < size; ++i) {
        const unsigned char c = static_cast<unsigned char>(data[i]);
        if (!inString) {
            inString = c == '"';
        } else if (c == '"') {
            inString = false;
        } else if (c == '\\' && i + 1 < size) {
            const unsigned char next = static_cast<unsigned char>(data[++i]);
            if (next < 0x20 || next >= 0x80)
                grown += 4;
        } else if (c < 0x20) {
            grown += 5;
        }
    }
    std::unique_ptr<char[]> out(new char[size + grown + simdjson::SIMDJSON_PADDING]);
    char* o = out.get();
    inString = false;
    for (size_t i = 0; i < size; ++i) {
        const unsigned char c = static_cast<unsigned char>(data[i]);
        unsigned char escape = 0;
        bool rewrite = false;
        if (!inString) {
            inString = c == '"';
            if (inString && RawString::startsWithMark(data + i + 1, data + size)) {
                // Qt reads a string without backslashes with QString::fromUtf8, which drops a
                // byte-order mark at its start; with the \u00XX put in for its control
                // characters it would be read by hand, keeping it: dropped here instead.
                bool backslash = false, control = false;
                for (size_t j = i + 1; j < size && data[j] != '"' && !backslash; ++j) {
                    backslash = data[j] == '\\';
                    control = control || static_cast<unsigned char>(data[j]) < 0x20;
                }
                if (control && !backslash) {
                    *o++ = char(c);
                    i += 3;
                    continue;
                }
            }
        } else if (c == '"') {
            inString = false;
        } else if (c == '\\' && i + 1 < size) {
            const unsigned char next = static_cast<unsigned char>(data[i + 1]);
            if (next < 0x20 || next >= 0x80) {
                escape = next;
                rewrite = true;
            } else {
                *o++ = char(c);
                *o++ = char(next);
            }
            ++i;
            if (!rewrite)
                continue;
        } else if (c < 0x20) {
            escape = c;
            rewrite = true;
        }
        if (rewrite) {
            *o++ = '\\';
            *o++ = 'u';
            *o++ = '0';
            *o++ = '0';
            *o++ = hex[escape >> 4];
            *o++ = hex[escape & 15];
        } else {
            *o++ = char(c);
        }
    }
    outSize = size_t(o - out.get());
    std::memset(o, 0, simdjson::SIMDJSON_PADDING);
    return out;
}

// simdjson's own index has room for a token per byte plus a few (its set_capacity).
size_t indexBytes(size_t documentSize)
{
    return ((documentSize + 63) / 64 * 64 + 2 + 7 + 64) * sizeof(uint32_t);
}

// While the first stage runs, another thread faults in the pages its index will fill, from the
// far end back, so that the two meet: fresh pages cost more than the scan itself (several times
// more on a virtual machine whose host takes back what the guest frees), and the scan would
// otherwise take each fault in turn. Pages faulted in beyond what the index used are given back.
class FaultAhead
{
public:
    FaultAhead(const Pages& index, size_t documentSize)
        : m_begin(static_cast<char*>(index.data())),
          // The program's documents hold about a token every 10 bytes (the index has room for one a byte).
          m_end(m_begin + documentSize / 10 * sizeof(uint32_t) / kStep * kStep)
    {
        // Below a huge page's worth (documents under 5 MB) the scan is quick enough alone.
        if (m_end == m_begin || std::thread::hardware_concurrency() < 2)
            return;
        try {
            m_thread = std::thread([this] {
                for (char* at = m_end; at > m_begin && !m_done.load(std::memory_order_relaxed); at -= kStep) {
                    if (::madvise(at - kStep, kStep, MADV_POPULATE_WRITE) != 0)
                        break; // a kernel without it, or no memory: the scan faults them as ever
                }
            });
        } catch (const std::system_error&) { // no thread: the scan faults them itself
        }
    }
    ~FaultAhead() { finish(0); }
    FaultAhead(const FaultAhead&) = delete;
    FaultAhead& operator=(const FaultAhead&) = delete;

    // The scan has ended with `tokens` in the index.
    void finish(uint32_t tokens)
    {
        if (!m_thread.joinable())
            return;
        m_done.store(true, std::memory_order_relaxed);
        m_thread.join();
        // simdjson writes a little past its last token.
        char* const used = m_begin + (size_t(tokens) + 256) * sizeof(uint32_t);
        char* const from = m_begin + (uintptr_t(used - m_begin) + kStep - 1) / kStep * kStep;
        if (from < m_end)
            ::madvise(from, size_t(m_end - from), MADV_DONTNEED);
    }

private:
    static constexpr size_t kStep = size_t(2) << 20; // a huge page
    char* m_begin;
    char* m_end;
    std::atomic<bool> m_done{false};
    std::thread m_thread;
};

// simdjson's first stage with its index in pages of our own.
class FirstStage
{
public:
    ~FirstStage() { reset(); }

    simdjson::error_code run(const char* data, size_t size)
    {
        reset();
        simdjson::error_code e = simdjson::get_active_implementation()->create_dom_parser_implementation(
            size, kNestingLimit + 1, m_parser);
        if (e != simdjson::SUCCESS)
            return e;
        m_index = std::make_unique<Pages>(indexBytes(size));
        if (!m_index->data())
            return simdjson::MEMALLOC;
        FaultAhead ahead(*m_index, size);
        m_parser->structural_indexes.reset(static_cast<uint32_t*>(m_index->data()));
        e = m_parser->stage1(reinterpret_cast<const uint8_t*>(data), size, simdjson::stage1_mode::regular);
        ahead.finish(e == simdjson::SUCCESS ? m_parser->n_structural_indexes : 0);
        return e;
    }
    const uint32_t* index() const { return m_parser->structural_indexes.get(); }
    uint32_t count() const { return m_parser->n_structural_indexes; }

private:
    std::unique_ptr<simdjson::internal::dom_parser_implementation> m_parser;
    std::unique_ptr<Pages> m_index;

    void reset()
    {
        if (m_parser && m_index)
            (void)m_parser->structural_indexes.release(); // ours, not simdjson's to delete
        m_parser.reset();
        m_index.reset();
    }
};

} // namespace

std::optional<QDateTime> parseDate(std::string_view text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return parseDate(QString::fromUtf8(text.data(), qsizetype(text.size())));
    }
    // As the QString form, on bytes.
    const size_t n = text.size();
    if (n != 20 && n != 25)
        return std::nullopt;
    const auto digits = [&](size_t from, size_t count) {
        int v = 0;
        for (size_t i = from; i < from + count; ++i) {
            if (!isDigit(text[i]))
                return -1;
            v = v * 10 + (text[i] - '0');
        }
        return v;
    };
    const int year = digits(0, 4), month = digits(5, 2), day = digits(8, 2);
    const int hour = digits(11, 2), minute = digits(14, 2), second = digits(17, 2);
    if (year < 0 || text[4] != '-' || month < 0 || text[7] != '-' || day < 0 || text[10] != 'T' || hour < 0 ||
        text[13] != ':' || minute < 0 || text[16] != ':' || second < 0)
        return std::nullopt;
    int offsetSeconds = 0;
    if (n == 20) {
        if (text[19] != 'Z')
            return std::nullopt;
    } else {
        const char sign = text[19];
        const int hh = digits(20, 2), mm = digits(23, 2);
        if ((sign != '+' && sign != '-') || hh < 0 || text[22] != ':' || mm < 0)
            return std::nullopt;
        if (hh > 23 || mm > 59)
            return std::nullopt;
        offsetSeconds = (hh * 3600 + mm * 60) * (sign == '-' ? -1 : 1);
    }
    const QDate date(year, month, day);
    if (!date.isValid() || hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    constexpr qint64 kJulianDayOfEpoch = 2440588;
    const qint64 ms = ((date.toJulianDay() - kJulianDayOfEpoch) * 86400 + hour * 3600 + minute * 60 + second -
                       offsetSeconds) *
                      1000;
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
}

namespace {

std::optional<AppData> refusal(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return std::nullopt;
}

// The reading proper, over the first stage's index of `data`.
std::optional<AppData> readIndexed(const char* data, size_t size, const uint32_t* index, uint32_t count,
                                   bool releasable, QString* error)
{
    try {
        Reader reader(data, size, index, count);
        if (releasable)
            reader.releaseBehind(const_cast<char*>(data));
        return reader.document();
    } catch (const Unreadable& e) {
        return refusal(error, e.reason);
    }
}

bool startsWithByteOrderMark(const char* data, size_t size)
{
    // Qt skips one UTF-8 byte-order mark at the start.
    return size > 3 && static_cast<unsigned char>(data[0]) == 0xEF &&
           static_cast<unsigned char>(data[1]) == 0xBB && static_cast<unsigned char>(data[2]) == 0xBF;
}

std::optional<AppData> decodePadded(const char* data, size_t size, char* releasable, QString* error)
{
    if (startsWithByteOrderMark(data, size)) {
        data += 3;
        size -= 3;
    }
    if (size == 0)
        return refusal(error, QStringLiteral("the document is empty"));
    if (size > 0xFFFFFFF0u)
        return refusal(error, QStringLiteral("the document is too large"));
    FirstStage first;
    std::unique_ptr<char[]> escaped;
    simdjson::error_code stage = first.run(data, size);
    if (stage == simdjson::UNESCAPED_CHARS || stage == simdjson::UTF8_ERROR) {
        size_t escapedSize = 0;
        escaped = escapeForFirstStage(data, size, escapedSize);
        data = escaped.get();
        size = escapedSize;
        stage = first.run(data, size);
    }
    if (stage != simdjson::SUCCESS)
        return refusal(error, QString::fromUtf8(simdjson::error_message(stage)));
    // data is in the buffer (past a byte-order mark) unless it was escaped
    return readIndexed(data, size, first.index(), first.count(), releasable && !escaped, error);
}

} // namespace

void readSecondHalfLate(bool late)
{
    g_secondHalfLate.store(late, std::memory_order_relaxed);
}

namespace {

// A mapped file cut short while it is read faults (SIGBUS) where its pages are gone. The reading
// then sees zero pages there and its answer is dropped. One mapped reading at a time: the handler
// knows one range.
std::mutex g_mappedOne;
std::atomic<uintptr_t> g_mappedBegin{0};
std::atomic<uintptr_t> g_mappedEnd{0};
std::atomic<bool> g_mappedCut{false};
struct sigaction g_busBefore;
std::function<void()> g_whenMapped;

void onBus(int signal, siginfo_t* info, void* context)
{
    const uintptr_t at = reinterpret_cast<uintptr_t>(info->si_addr);
    if (at >= g_mappedBegin.load() && at < g_mappedEnd.load()) {
        void* const page = reinterpret_cast<void*>(at & ~(kPage - 1));
        if (::mmap(page, kPage, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) != MAP_FAILED) {
            g_mappedCut.store(true);
            return;
        }
    }
    // Not ours: handled as it would have been without this handler.
    if (g_busBefore.sa_flags & SA_SIGINFO) {
        g_busBefore.sa_sigaction(signal, info, context);
    } else if (g_busBefore.sa_handler == SIG_DFL) {
        ::signal(SIGBUS, SIG_DFL); // the fault comes again, and ends the program as it would have
    } else if (g_busBefore.sa_handler != SIG_IGN) {
        g_busBefore.sa_handler(signal);
    }
}

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec &&
           a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

} // namespace

void whenMapped(std::function<void()> hook)
{
    g_whenMapped = std::move(hook);
}

bool decodeMapped(int fd, const struct stat& before, std::optional<AppData>& out, QString* error)
{
    out.reset();
    std::unique_lock<std::mutex> one(g_mappedOne, std::try_to_lock);
    if (!one.owns_lock() || before.st_size <= 0)
        return false;
    const size_t size = size_t(before.st_size);
    ReadBuffer buffer(fd, size);
    if (!buffer.data())
        return false;
    g_mappedCut = false;
    g_mappedBegin = reinterpret_cast<uintptr_t>(buffer.data());
    g_mappedEnd = reinterpret_cast<uintptr_t>(buffer.data()) + buffer.m_mapped;
    struct sigaction bus = {};
    bus.sa_sigaction = onBus;
    bus.sa_flags = SA_SIGINFO;
    sigemptyset(&bus.sa_mask);
    if (::sigaction(SIGBUS, &bus, &g_busBefore) != 0)
        return false;
    const auto restore = qScopeGuard([] {
        ::sigaction(SIGBUS, &g_busBefore, nullptr);
        g_mappedBegin = 0;
        g_mappedEnd = 0;
    });
    if (g_whenMapped)
        g_whenMapped();
    out = decode(buffer, size, error);
    struct stat after;
    if (g_mappedCut || ::fstat(fd, &after) != 0 || !sameFile(before, after)) {
        out.reset();
        return false;
    }
    return true;
}

std::optional<AppData> decode(ReadBuffer& buffer, size_t size, QString* error)
{
    return decodePadded(buffer.data(), std::min(size, buffer.capacity()), buffer.data(), error);
}

ReadBuffer::ReadBuffer(size_t capacity)
{
    const size_t mapped = paddedPages(capacity);
    void* p = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        return;
    if (mapped >= (size_t(4) << 20))
        ::madvise(p, mapped, MADV_HUGEPAGE);
    m_data = static_cast<char*>(p); // fresh pages are zero: the padding too
    m_capacity = capacity;
    m_mapped = mapped;
}

ReadBuffer::ReadBuffer(int fd, size_t size)
{
    // One range: the file over its start, zero pages after it (a file of whole pages has its
    // padding there; otherwise its last page is zero past the end).
    const size_t mapped = paddedPages(size);
    void* p = ::mmap(nullptr, mapped, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        return;
    // Populated at once: one call rather than a fault every few pages.
    if (::mmap(p, size, PROT_READ, MAP_PRIVATE | MAP_FIXED | MAP_POPULATE, fd, 0) == MAP_FAILED) {
        ::munmap(p, mapped);
        return;
    }
    m_data = static_cast<char*>(p);
    m_capacity = size;
    m_mapped = mapped;
}

ReadBuffer::~ReadBuffer()
{
    if (m_data)
        ::munmap(m_data, m_mapped);
}

// The first stage window by window, each ending after a line feed. simdjson refuses a raw line
// feed inside a string, so in any document it takes, a line feed stands outside every string and
// value: the whole document's scan is then in the same state after it as a fresh scan, and the
// windows' tokens are exactly the whole scan's. A window simdjson refuses (an unclosed string
// too, where a line feed did stand in one) hands everything back to the whole-document pass, whose
// answer is then the same as ever.
struct IndexAhead::State
{
    const char* data;
    size_t capacity;
    size_t window;

    // The indexing's own.
    std::unique_ptr<simdjson::internal::dom_parser_implementation> parser;
    std::unique_ptr<Pages> index;
    uint32_t count = 0;
    size_t base = 0;      // past a byte-order mark
    size_t from = 0;      // the first byte not indexed
    size_t nextWant = 0;  // indexing waits for this many bytes
    bool started = false; // the byte-order mark looked at
    bool ok = true;       // false: left to the whole-document pass
    bool done = false;    // the whole document indexed

    // On a thread: the hand-over.
    std::mutex mutex;
    std::condition_variable more;
    size_t readTo = 0;      // guarded by mutex
    size_t want = 0;        // guarded by mutex: the worker waits for readTo to reach it
    bool finished = false;  // guarded by mutex: readTo is the document's size
    bool abandoned = false; // guarded by mutex
    std::thread worker;

    bool prepare();
    // Indexes what it can of the first `available` bytes; `last`: that is the whole document.
    void step(size_t available, bool last);
    void run();
    void join(bool abandon);
};

bool IndexAhead::State::prepare()
{
    nextWant = window;
    if (capacity > 0xFFFFFFF0u || simdjson::get_active_implementation()->create_dom_parser_implementation(
                                      capacity, kNestingLimit + 1, parser) != simdjson::SUCCESS)
        return false;
    index = std::make_unique<Pages>(indexBytes(capacity));
    return index->data() != nullptr;
}

void IndexAhead::State::step(size_t available, bool last)
{
    // A document without line feeds (not one of ours) is left to the whole pass.
    const size_t longestLine = 8 * window;
    if (!ok || done)
        return;
    if (!started) {
        if (available <= 3) {
            ok = !last; // a tiny document: the whole pass
            return;
        }
        base = from = startsWithByteOrderMark(data, available) ? 3 : 0;
        started = true;
    }
    size_t end = available;
    if (!last) {
        const void* lf = ::memrchr(data + from, '\n', available - from);
        if (!lf) {
            ok = available - from <= longestLine;
            nextWant = available + window;
            return;
        }
        end = size_t(static_cast<const char*>(lf) - data) + 1;
    }
    if (end > from) {
        uint32_t* const out = static_cast<uint32_t*>(index->data());
        // simdjson writes the window's tokens (and a few past them) where they go in the whole.
        parser->structural_indexes.reset(out + count);
        const simdjson::error_code e = parser->stage1(reinterpret_cast<const uint8_t*>(data + from),
                                                      end - from, simdjson::stage1_mode::regular);
        const uint32_t n = e == simdjson::EMPTY ? 0 : parser->n_structural_indexes; // EMPTY: white space
        (void)parser->structural_indexes.release();                                 // ours
        if (e != simdjson::SUCCESS && e != simdjson::EMPTY) {
            ok = false;
            return;
        }
        // Through locals: the tokens and `count` are both uint32_t, and the compiler would have to
        // read `count` again after every store (no vector loop, 5x the instructions).
        const uint32_t offset = uint32_t(from - base);
        uint32_t* const tokens = out + count;
        for (uint32_t i = 0; i < n; ++i)
            tokens[i] += offset;
        count += n;
        from = end;
    }
    nextWant = available + window;
    if (last) {
        done = true;
        ok = count > 0;
    }
}

void IndexAhead::State::run()
{
    try {
        ok = prepare();
    } catch (...) { // no memory for the index: the whole pass finds out for itself
        ok = false;
    }
    while (ok) {
        size_t available = 0;
        bool last = false;
        {
            std::unique_lock<std::mutex> lock(mutex);
            want = nextWant;
            more.wait(lock, [&] { return abandoned || finished || readTo >= want; });
            if (abandoned)
                return;
            available = readTo;
            last = finished;
        }
        step(available, last);
        if (done)
            return;
    }
}

void IndexAhead::State::join(bool abandon)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        finished = true;
        abandoned = abandon;
    }
    more.notify_one();
    if (worker.joinable())
        worker.join();
}

IndexAhead::IndexAhead(const ReadBuffer& buffer, size_t window, bool onThread) : d(std::make_unique<State>())
{
    d->data = buffer.data();
    d->capacity = buffer.capacity();
    d->window = std::max<size_t>(window, 1);
    if (!d->data)
        d->ok = false;
    else if (onThread) {
        try {
            d->worker = std::thread([s = d.get()] { s->run(); });
        } catch (const std::system_error&) { // no thread to be had: the whole pass does it all
            d->ok = false;
        }
    } else
        d->ok = d->prepare();
}

IndexAhead::~IndexAhead()
{
    d->join(true);
}

void IndexAhead::readTo(size_t size)
{
    if (!d->worker.joinable()) {
        if (size >= d->nextWant)
            d->step(size, false);
        return;
    }
    bool wake = false;
    {
        std::lock_guard<std::mutex> lock(d->mutex);
        d->readTo = size;
        wake = size >= d->want;
    }
    if (wake)
        d->more.notify_one();
}

std::optional<AppData> decode(ReadBuffer& buffer, size_t size, IndexAhead& ahead, QString* error)
{
    size = std::min(size, buffer.capacity());
    IndexAhead::State& s = *ahead.d;
    if (s.worker.joinable()) {
        {
            std::lock_guard<std::mutex> lock(s.mutex);
            s.readTo = size;
        }
        s.join(false);
    }
    // Whatever arrived since the last window (and all of it without a thread).
    s.step(size, true);
    if (!s.ok || !s.done || s.from != size || s.data != buffer.data()) {
        s.index.reset();
        return decode(buffer, size, error);
    }
    return readIndexed(buffer.data() + s.base, size - s.base, static_cast<const uint32_t*>(s.index->data()),
                       s.count, true, error);
}

std::optional<AppData> decode(const QByteArray& json, QString* error)
{
    const size_t size = size_t(json.size());
    ReadBuffer padded(size);
    if (!padded.data()) {
        if (error)
            *error = QStringLiteral("out of memory");
        return std::nullopt;
    }
    std::memcpy(padded.data(), json.constData(), size);
    return decodePadded(padded.data(), size, padded.data(), error);
}

} // namespace DataFile
