#pragma once

#include "model/AppData.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

// Projects as a CSV file for spreadsheets: UTF-8 with a byte-order mark (so a spreadsheet opens
// Turkish text correctly), RFC 4180 quoting, CRLF line ends, one header row.
namespace CsvExport {

// The header row, in the order of the columns.
QStringList header();
// One cell made safe and quoted as needed. A text that a spreadsheet would run as a formula
// (beginning with =, +, -, @, tab or carriage return) gets a leading apostrophe; so does one
// that already begins with an apostrophe before such a character, so that an import which strips
// the guard gives back the text as it was.
QString cell(const QString& text);
// True when `text` needs that apostrophe; an import takes it off where this holds for the rest.
bool needsGuard(QStringView text);
// A number with "." as the decimal point and no grouping, whatever the locale.
QString number(double value);
// The projects of `year`, or of every year when none, in document order.
QVector<Project> select(const AppData& data, std::optional<int> year);
QByteArray encode(const QVector<Project>& projects);
// Writes the file atomically; false with the reason when it cannot.
bool write(const QString& path, const QVector<Project>& projects, QString* error);

} // namespace CsvExport
