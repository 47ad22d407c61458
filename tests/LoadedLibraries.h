#pragma once

#include <QString>
#include <QStringList>
#include <algorithm>
#include <initializer_list>
#include <link.h>

// The paths of the shared libraries this process has loaded.
inline QStringList loadedLibraries()
{
    QStringList paths;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* data) {
            static_cast<QStringList*>(data)->append(QString::fromLocal8Bit(info->dlpi_name));
            return 0;
        },
        &paths);
    return paths;
}

// The shared libraries this process has loaded from folders of the given names (Qt's plugin
// folders "imageformats", "iconengines", ...).
inline QStringList loadedFrom(std::initializer_list<const char*> folders)
{
    QStringList found;
    for (const QString& path : loadedLibraries())
        for (const char* folder : folders)
            if (path.contains(QLatin1Char('/') + QLatin1String(folder) + QLatin1Char('/')))
                found.append(path);
    return found;
}

// Whether this process has loaded a shared library whose file name starts with `name`.
inline bool loadedNamed(const char* name)
{
    const QStringList paths = loadedLibraries();
    return std::any_of(paths.begin(), paths.end(), [name](const QString& path) {
        return path.section(QLatin1Char('/'), -1).startsWith(QLatin1String(name));
    });
}
