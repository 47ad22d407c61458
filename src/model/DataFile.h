#pragma once

#include "model/AppData.h"

#include <QByteArray>
#include <QString>
#include <optional>

// The JSON form of the document: keys sorted, pretty-printed, ids upper case,
// dates as UTC internet date-times without fractions.
namespace DataFile {

// Fails (with a reason) when a number cannot be written, such as an infinity.
std::optional<QByteArray> encode(const AppData& data, QString* error = nullptr);

// Strict: a wrong type, an unknown status or layout, a bad id or date, or a project
// without "name" or "fee" makes the whole document unreadable.
std::optional<AppData> decode(const QByteArray& json, QString* error = nullptr);

QString dateText(const QDateTime& moment);
std::optional<QDateTime> parseDate(const QString& text);

} // namespace DataFile
