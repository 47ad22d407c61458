#include "model/Status.h"

namespace StatusInfo {

QString rawValue(Status s)
{
    switch (s) {
    case Status::paid:
        return QStringLiteral("paid");
    case Status::pending:
        return QStringLiteral("pending");
    case Status::ongoing:
        return QStringLiteral("ongoing");
    }
    return {};
}

std::optional<Status> fromRaw(const QString& raw)
{
    for (Status s : all) {
        if (raw == rawValue(s))
            return s;
    }
    return std::nullopt;
}

QString titleEn(Status s)
{
    switch (s) {
    case Status::paid:
        return QStringLiteral("Paid");
    case Status::pending:
        return QStringLiteral("Pending");
    case Status::ongoing:
        return QStringLiteral("In the Works");
    }
    return {};
}

QString titleTr(Status s)
{
    switch (s) {
    case Status::paid:
        return QStringLiteral("Ödendi");
    case Status::pending:
        return QStringLiteral("Ödenecek");
    case Status::ongoing:
        return QStringLiteral("Devam Ediyor");
    }
    return {};
}

} // namespace StatusInfo

namespace BoardLayoutInfo {

QString rawValue(BoardLayout l)
{
    return l == BoardLayout::table ? QStringLiteral("table") : QStringLiteral("columns");
}

std::optional<BoardLayout> fromRaw(const QString& raw)
{
    if (raw == QLatin1String("columns"))
        return BoardLayout::columns;
    if (raw == QLatin1String("table"))
        return BoardLayout::table;
    return std::nullopt;
}

} // namespace BoardLayoutInfo
