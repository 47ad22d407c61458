#include "model/AppData.h"

QVector<Status> normalizedColumnOrder(const QVector<Status>& order)
{
    QVector<Status> out;
    for (Status s : order) {
        if (!out.contains(s))
            out.append(s);
    }
    for (Status s : StatusInfo::all) {
        if (!out.contains(s))
            out.append(s);
    }
    return out;
}
