#pragma once

#include <QString>
#include <QStringList>

namespace Text {
// Trims tabs and every horizontal space (the no-break space, the thin and ideographic spaces, ...)
// from both ends; line breaks are kept.
QString trimBlanks(const QString& text);

// How much of a text is shown, measured or laid out: a pasted 50 MB name must not freeze the
// window. The document keeps every text whole.
inline constexpr qsizetype kShownChars = 1000;
// The text itself, or its first kShownChars characters and an ellipsis.
QString shown(const QString& text);

// Names compared ignoring case. In Turkish the dotted and dotless i in either case (I, ı, İ, i) are
// variants of one letter; other languages pair I with i only.
QString foldCase(const QString& text, bool turkish);
bool sameIgnoringCase(const QString& a, const QString& b, bool turkish);
// The entry of a directory list that names `text` ignoring case; null when none does.
const QString* findIgnoringCase(const QStringList& list, const QString& text, bool turkish);

// The value of one hexadecimal digit, either case; -1 for anything else.
inline int hexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}
} // namespace Text
