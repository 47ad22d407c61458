#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QStringList>

// Symbol names mapped, in one table, to monochrome icons of our own that take any tint.
namespace Icons {
// Empty icon / null pixmap for a symbol that is not in the table.
QIcon icon(const QString& symbol, const QColor& tint, int pixelSize, QFont::Weight weight = QFont::Normal);
QPixmap pixmap(const QString& symbol, const QColor& tint, int pixelSize, qreal dpr = 1,
               QFont::Weight weight = QFont::Normal);
bool has(const QString& symbol);
// Every symbol name the table knows.
QStringList symbols();
} // namespace Icons
