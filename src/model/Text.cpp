#include "model/Text.h"

namespace Text {

QString trimBlanks(const QString& text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    const auto blank = [](QChar c) {
        return c == QLatin1Char('\t') || c.category() == QChar::Separator_Space;
    };
    while (start < end && blank(text.at(start)))
        ++start;
    while (end > start && blank(text.at(end - 1)))
        --end;
    return text.mid(start, end - start);
}

QString shown(const QString& text)
{
    if (text.size() <= kShownChars)
        return text;
    // Not between the halves of a surrogate pair.
    qsizetype cut = kShownChars;
    if (text.at(cut - 1).isHighSurrogate())
        --cut;
    return text.left(cut) + QChar(u'…');
}

QString foldCase(const QString& text, bool turkish)
{
    if (!turkish)
        return text.toLower();
    // Turkish pairs I with ı and İ with i; names typed in English on a Turkish system still pair I
    // with i. All four are therefore one letter here: a client written IŞIK, Işık or ışık is one.
    // Before lower-casing: Qt lowers İ to i and a combining dot.
    QString t = text;
    for (QChar& c : t) {
        if (c == QChar(u'\u0131') || c == QChar(u'\u0130') || c == QLatin1Char('I'))
            c = QLatin1Char('i');
    }
    return t.toLower();
}

bool sameIgnoringCase(const QString& a, const QString& b, bool turkish)
{
    if (!turkish)
        return a.compare(b, Qt::CaseInsensitive) == 0;
    return foldCase(a, true) == foldCase(b, true);
}

const QString* findIgnoringCase(const QStringList& list, const QString& text, bool turkish)
{
    for (const QString& entry : list) {
        if (sameIgnoringCase(entry, text, turkish))
            return &entry;
    }
    return nullptr;
}

} // namespace Text
