#include "model/CsvExport.h"

#include "model/AtomicWrite.h"

#include <charconv>
#include <cmath>

namespace CsvExport {

QStringList header()
{
    return {QStringLiteral("name"),    QStringLiteral("client"),    QStringLiteral("category"),
            QStringLiteral("fee"),     QStringLiteral("outsource"), QStringLiteral("status"),
            QStringLiteral("date"),    QStringLiteral("id"),        QStringLiteral("pendingSince"),
            QStringLiteral("dueDate"), QStringLiteral("paidOn")};
}

namespace {

bool startsFormula(QChar c)
{
    return c == u'=' || c == u'+' || c == u'-' || c == u'@' || c == u'\t' || c == u'\r';
}

QString day(const QDate& date)
{
    return date.isValid() ? date.toString(Qt::ISODate) : QString();
}

} // namespace

bool needsGuard(QStringView text)
{
    return !text.isEmpty() && (startsFormula(text.front()) ||
                               (text.front() == u'\'' && text.size() > 1 && startsFormula(text[1])));
}

QString cell(const QString& text)
{
    QString safe = text;
    if (needsGuard(safe))
        safe.prepend(u'\'');
    const bool quote = safe.contains(u',') || safe.contains(u'"') || safe.contains(u'\n') ||
                       safe.contains(u'\r') || safe.contains(u';') || safe.contains(u'\t');
    if (!quote)
        return safe;
    safe.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + safe + u'"';
}

QString number(double value)
{
    if (!std::isfinite(value))
        return QString();
    if (value == 0)
        value = 0; // no "-0"
    char buffer[400];
    // Fixed notation, shortest digits that read back as the same number: never an exponent,
    // which some spreadsheets would take as text.
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (error != std::errc())
        return QString();
    return QString::fromLatin1(buffer, int(end - buffer));
}

QVector<Project> select(const AppData& data, std::optional<int> year)
{
    if (!year)
        return data.projects;
    QVector<Project> chosen;
    for (const Project& p : data.projects) {
        if (p.year() == *year)
            chosen.append(p);
    }
    return chosen;
}

QByteArray encode(const QVector<Project>& projects)
{
    QString text;
    text.reserve(64 + projects.size() * 128);
    const auto row = [&text](const QStringList& cells) {
        for (qsizetype i = 0; i < cells.size(); ++i) {
            if (i > 0)
                text += u',';
            text += cell(cells.at(i));
        }
        text += QLatin1String("\r\n");
    };
    row(header());
    for (const Project& p : projects) {
        row({p.name, p.client, p.category, number(p.fee), number(p.outsource), StatusInfo::rawValue(p.status),
             day(p.date.toLocalTime().date()), uuidText(p.id), day(p.pendingSince), day(p.dueDate),
             day(p.paidOn)});
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

bool write(const QString& path, const QVector<Project>& projects, QString* error)
{
    return AtomicWrite::write(path, encode(projects), error);
}

} // namespace CsvExport
