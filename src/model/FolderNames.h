#pragma once

#include <QDir>
#include <QString>
#include <QStringList>

namespace FolderNames {
// The names in `folder` that start with one of `prefixes`, regardless of case as QDir's name
// filters compare. Plain comparisons: a wildcard filter is compiled to a pattern at every listing,
// a noticeable part of a start that finds nothing.
QStringList startingWith(const QString& folder, const QStringList& prefixes, QDir::Filters filters);
} // namespace FolderNames
