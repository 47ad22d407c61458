#pragma once

#include <QString>
#include <QVector>
#include <array>
#include <optional>

// Declared order is the order of Status::all() and of the default board.
enum class Status : quint8 { paid, pending, ongoing };

namespace StatusInfo {
constexpr std::array<Status, 3> all{Status::paid, Status::pending, Status::ongoing};
QString rawValue(Status s);
std::optional<Status> fromRaw(const QString& raw);
QString titleEn(Status s);
QString titleTr(Status s);
} // namespace StatusInfo

enum class BoardLayout : quint8 { columns, table };

namespace BoardLayoutInfo {
QString rawValue(BoardLayout l);
std::optional<BoardLayout> fromRaw(const QString& raw);
} // namespace BoardLayoutInfo
