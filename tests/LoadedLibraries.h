#pragma once

#include <QString>
#include <QStringList>
#include <initializer_list>
#include <link.h>

// The shared libraries this process has loaded from folders of the given names (Qt's plugin
// folders "imageformats", "iconengines", ...).
inline QStringList loadedFrom(std::initializer_list<const char*> folders)
{
    struct Search
    {
        std::initializer_list<const char*> folders;
        QStringList found;
    } search{folders, {}};
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* data) {
            auto* s = static_cast<Search*>(data);
            const QString name = QString::fromLocal8Bit(info->dlpi_name);
            for (const char* folder : s->folders)
                if (name.contains(QLatin1Char('/') + QLatin1String(folder) + QLatin1Char('/')))
                    s->found.append(name);
            return 0;
        },
        &search);
    return search.found;
}

// Whether this process has loaded a shared library whose file name starts with `name`.
inline bool loadedNamed(const char* name)
{
    struct Search
    {
        const char* name;
        bool found;
    } search{name, false};
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* data) {
            auto* s = static_cast<Search*>(data);
            const QString path = QString::fromLocal8Bit(info->dlpi_name);
            s->found = s->found || path.section(QLatin1Char('/'), -1).startsWith(QLatin1String(s->name));
            return 0;
        },
        &search);
    return search.found;
}
