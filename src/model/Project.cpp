#include "model/Project.h"

#include <QTimeZone>

QDateTime atNoon(const QDateTime& moment)
{
    if (!moment.isValid())
        return moment;
    const QDate day = moment.toLocalTime().date();
    QDateTime noon(day, QTime(12, 0), Qt::LocalTime);
    if (!noon.isValid() || noon.date() != day)
        return moment;
    return noon;
}

QString uuidText(const QUuid& id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

std::optional<QUuid> uuidFromText(const QString& text)
{
    if (text.size() != 36)
        return std::nullopt;
    for (int i = 0; i < 36; ++i) {
        const QChar c = text.at(i);
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (c != QLatin1Char('-'))
                return std::nullopt;
        } else if (!((c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                     (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
                     (c >= QLatin1Char('A') && c <= QLatin1Char('F')))) {
            return std::nullopt;
        }
    }
    return QUuid::fromString(text);
}

int Project::year() const
{
    return date.toLocalTime().date().year();
}
