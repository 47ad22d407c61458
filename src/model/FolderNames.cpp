#include "model/FolderNames.h"

#include <algorithm>

QStringList FolderNames::startingWith(const QString& folder, const QStringList& prefixes,
                                      QDir::Filters filters)
{
    QStringList names = QDir(folder).entryList(filters, QDir::NoSort);
    names.erase(std::remove_if(names.begin(), names.end(),
                               [&](const QString& name) {
                                   return std::none_of(prefixes.begin(), prefixes.end(),
                                                       [&](const QString& p) {
                                                           return name.startsWith(p, Qt::CaseInsensitive);
                                                       });
                               }),
                names.end());
    return names;
}
