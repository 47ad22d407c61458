#pragma once

#include "model/AppData.h"

#include <QByteArray>
#include <QChar>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

class Store;

// Reading projects from a CSV file that a spreadsheet wrote, in English or Turkish forms.
//
// How an import sheet uses it:
//   1. readFile(path): the bytes, or a refusal (not a file, larger than kMaxBytes).
//   2. preview(bytes, store.data()): every guess made from the bytes; then
//      preview(bytes, data, remembered(p.header)) to apply what the user chose last time for
//      this header line.
//   3. The sheet shows `header` and `records` as a table, and lets the user change the encoding,
//      the delimiter, each column's role, the date format and the decimal separator (offered
//      when `dateFormat` / `decimalSeparator` is empty, which means the rows do not agree), and
//      map each of `unknownStatuses`. Each change is one more preview() with the changed Options
//      (start from p.choices()); 10,000 rows take well under a tenth of a second.
//   4. `rows` are the projects that can be imported, in file order, `duplicate` ones to be
//      shown unticked; `problems` the rows that cannot, with line and reason (problemText).
//   5. "Import N Projects": Store::importProjects with the ticked rows' projects, then
//      remember(p.header, p.choices()).
// Nothing here reads or writes the document or the preferences except remembered/remember.
namespace CsvImport {

// Larger files are refused rather than read.
inline constexpr qint64 kMaxBytes = qint64(50) << 20;
inline constexpr int kMaxRows = 1000000;

enum class Encoding : quint8 { utf8, utf8Bom, utf16Le, utf16Be, windows1254 };
enum class Role : quint8 {
    ignore,
    name,
    client,
    category,
    fee,
    outsource,
    status,
    date,
    id,
    pendingSince,
    dueDate,
    paidOn
};
enum class DateFormat : quint8 { iso, dayMonthYearDots, dayMonthYearSlashes, monthDayYearSlashes };

// Text for the controls; role and format names are the same in both languages where they are
// formats ("DD.MM.YYYY"), pairs otherwise.
QString encodingName(Encoding encoding);
QString dateFormatName(DateFormat format);
QString roleName(Role role, const Store& store);

// What the user chose; anything left empty is guessed from the file.
struct Options
{
    std::optional<Encoding> encoding;
    std::optional<QChar> delimiter; // ',', ';' or '\t'
    // One per column; columns beyond it are ignored.
    std::optional<QVector<Role>> roles;
    std::optional<DateFormat> dateFormat;
    std::optional<QChar> decimalSeparator; // '.' or ','
    // statusKey(text) -> status, for texts the built-in names do not cover.
    QHash<QString, Status> statuses;
};

// A status text as it is looked up: case, Turkish letters, spaces and punctuation do not matter.
QString statusKey(const QString& text);
// The status a text names by itself ("paid", "Ödendi", "devam ediyor", ...).
std::optional<Status> statusOf(const QString& text);

struct RowProblem
{
    enum class Reason : quint8 { noName, noDate, badDate, noAmount, badAmount, negativeAmount, tooLarge };
    int line = 0; // in the file, 1 being the header
    Reason reason = Reason::badDate;
    Role column = Role::ignore;
    QString text; // the cell as read
};
// "Line 12: the date "31.02.2024" cannot be read" in the store's language.
QString problemText(const RowProblem& problem, const Store& store);

struct UnknownStatus
{
    QString text; // as first seen
    int rows = 0;
    int firstLine = 0;
};

struct Row
{
    int line = 0;
    // Its id is the file's when that is a new one, else null: importProjects gives it one.
    Project project;
    // Same name, client, day and fee as a project of the document.
    bool duplicate = false;
};

struct Preview
{
    enum class Refusal : quint8 { none, tooLarge, tooManyRows, empty, unreadable };
    Refusal refusal = Refusal::none;
    QString refusalDetail; // the system's reason for `unreadable`

    Encoding encoding = Encoding::utf8;
    QChar delimiter = u',';
    QStringList header;
    QVector<QStringList> records; // the data rows' cells, trimmed, formula guards taken off
    QVector<int> recordLines;     // the line each record begins on
    QVector<Role> roles;          // one per header cell
    // Empty when the rows do not agree on one reading: the user must choose.
    std::optional<DateFormat> dateFormat;
    std::optional<QChar> decimalSeparator;
    // Roles an import needs that no column has: name, fee, date.
    QVector<Role> missingRoles;
    // Status texts no name or mapping covers, each once; an empty text when there is no status
    // column or cell (the user says what such rows are).
    QVector<UnknownStatus> unknownStatuses;
    // Every status text no built-in name covers, given a meaning in the Options or not: what the
    // user is asked about, and may answer again.
    QVector<UnknownStatus> mappableStatuses;
    QHash<QString, Status> statusMap; // as given in the Options
    // Filled only when nothing above is left to choose.
    QVector<Row> rows;
    QVector<RowProblem> problems;

    // Nothing left for the user to choose, and something to import.
    bool ready() const;
    int duplicates() const;
    // The choices this preview was made with, guesses included: what to remember, or to change.
    Options choices() const;
};
QString refusalText(const Preview& preview, const Store& store);

// The file's bytes; a Preview with the refusal when it cannot or may not be read.
std::optional<QByteArray> readFile(const QString& path, Preview* refused);
Preview preview(const QByteArray& bytes, const AppData& existing, const Options& options = {});

// The choices last confirmed for this header line (a per-user preference, never in the document).
Options remembered(const QStringList& header);
void remember(const QStringList& header, const Options& choices);

} // namespace CsvImport
