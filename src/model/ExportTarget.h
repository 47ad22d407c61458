#pragma once

#include "model/StoreTypes.h"

#include <QString>

// Where an export (a CSV file, a report) may be written: never into a folder's place and never
// over the data file itself, however the path spells it.
namespace ExportTarget {
// Why `path` may not take an export, in `language`; empty when it may.
QString refusal(const QString& path, const QString& dataFile, AppLanguage language);
} // namespace ExportTarget
