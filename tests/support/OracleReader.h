#pragma once

#include "model/AppData.h"

#include <QByteArray>
#include <QString>
#include <optional>

// The QJsonDocument-based reader the program used before DataFile::decode read with simdjson.
// A test oracle only: the new reader must accept and refuse the same documents and give the
// same AppData for every input.
namespace Oracle {

std::optional<AppData> decode(const QByteArray& json, QString* error = nullptr);

} // namespace Oracle
