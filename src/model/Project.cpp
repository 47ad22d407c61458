#include "model/Project.h"

#include "model/Text.h"

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
    // Read by hand: this runs once per project when a large document loads.
    uchar bytes[16];
    int n = 0;
    int high = -1;
    for (int i = 0; i < 36; ++i) {
        const char16_t c = text.at(i).unicode();
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (c != u'-')
                return std::nullopt;
            continue;
        }
        const int d = Text::hexDigit(c);
        if (d < 0)
            return std::nullopt;
        if (high < 0) {
            high = d;
        } else {
            bytes[n++] = uchar(high << 4 | d);
            high = -1;
        }
    }
    return QUuid::fromRfc4122(QByteArrayView(reinterpret_cast<const char*>(bytes), 16));
}

int Project::year() const
{
    return date.toLocalTime().date().year();
}
