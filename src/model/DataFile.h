#pragma once

#include "model/AppData.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

struct stat;

// The JSON form of the document: keys sorted, pretty-printed, ids upper case,
// dates as UTC internet date-times without fractions.
namespace DataFile {

// Fails (with a reason) when a number cannot be written, such as an infinity.
std::optional<QByteArray> encode(const AppData& data, QString* error = nullptr);

// Strict: a wrong type, an unknown status or layout, a bad id or date, or a project
// without "name" or "fee" makes the whole document unreadable. Read with simdjson straight into
// the records (DataFileReader.cpp); it accepts and refuses exactly what Qt's JSON parser with the
// earlier QJsonDocument reader did (tests/support/OracleReader.cpp, tst_reader_agreement).
std::optional<AppData> decode(const QByteArray& json, QString* error = nullptr);

// The bytes a ReadBuffer has after its capacity, for simdjson to read ahead.
inline constexpr size_t kReadPadding = 64;

class ReadBuffer;
class IndexAhead;
// The same reading of the first `size` bytes of `buffer`, without a copy. The buffer's pages are
// given back to the system as the reading passes them: its content is gone afterwards.
std::optional<AppData> decode(ReadBuffer& buffer, size_t size, QString* error = nullptr);
// The same, with the index `ahead` made while the buffer was being filled (where it could).
std::optional<AppData> decode(ReadBuffer& buffer, size_t size, IndexAhead& ahead, QString* error = nullptr);

// The same reading of the regular file open as `fd`, `before` its fstat, through a mapping of it:
// no copy, and no fresh pages to fill first. False, with `out` empty, when it could not be mapped,
// or when the file changed or was cut short while it was read: that reading is no answer, and the
// caller reads the file the usual way.
bool decodeMapped(int fd, const struct stat& before, std::optional<AppData>& out, QString* error = nullptr);

// For tests: a long projects list's second half is read only once its first half is, as on a
// busy machine where the second thread starts late.
void readSecondHalfLate(bool late);
// For tests: called once a file is mapped, before it is read (a writer in between); none: empty.
void whenMapped(std::function<void()> hook);

// Memory to read a data file into: `capacity` bytes and kReadPadding zero bytes after them, in
// pages of its own (huge pages when large: far fewer page faults), returned to the system when
// it goes. data() is null when the memory could not be had.
class ReadBuffer
{
public:
    explicit ReadBuffer(size_t capacity);
    ~ReadBuffer();
    ReadBuffer(const ReadBuffer&) = delete;
    ReadBuffer& operator=(const ReadBuffer&) = delete;
    char* data() const { return m_data; }
    size_t capacity() const { return m_capacity; }

private:
    char* m_data = nullptr;
    size_t m_capacity = 0;
    size_t m_mapped = 0;

    // The file's first `size` bytes, read-only, with the padding after them.
    ReadBuffer(int fd, size_t size);
    friend bool decodeMapped(int, const struct stat&, std::optional<AppData>&, QString*);
};

// Indexes a ReadBuffer on a thread of its own while the file is still being read into it: by
// the time the last bytes are in, most of the first stage of decoding is done. Whatever it could
// not index, or would have refused, is left to decode's own whole-document pass.
class IndexAhead
{
public:
    // `window`: at least this many new bytes are indexed at a time (short windows cost a call
    // each, long ones leave more to do after the last read; tests try tiny ones). Without
    // `onThread` the indexing runs in readTo() and decode() instead, as it would on the thread.
    explicit IndexAhead(const ReadBuffer& buffer, size_t window = size_t(1) << 20, bool onThread = true);
    // Stops the indexing: the buffer may go after this.
    ~IndexAhead();
    IndexAhead(const IndexAhead&) = delete;
    IndexAhead& operator=(const IndexAhead&) = delete;
    // The buffer's first `size` bytes are read.
    void readTo(size_t size);

    struct State;

private:
    friend std::optional<AppData> decode(ReadBuffer&, size_t, IndexAhead&, QString*);
    std::unique_ptr<State> d;
};

QString dateText(const QDateTime& moment);
std::optional<QDateTime> parseDate(const QString& text);
// The same for text in bytes; texts that are not ASCII give what the QString form gives.
std::optional<QDateTime> parseDate(std::string_view text);

// A calendar day as "yyyy-MM-dd" (years 1 to 9999), and its strict reading: exactly that form,
// ASCII digits, a day that exists.
QByteArray dayText(const QDate& day);
std::optional<QDate> parseDay(std::string_view text);
std::optional<QDate> parseDay(const QString& text);

} // namespace DataFile
