#include "model/ExportTarget.h"

#include "i18n/L10n.h"

#include <QFileInfo>

namespace ExportTarget {

QString refusal(const QString& path, const QString& dataFile, AppLanguage language)
{
    const QFileInfo target(path);
    if (target.isDir())
        return L10n::tr(language, QStringLiteral("%1 is a folder."), QStringLiteral("%1 bir klasör."))
            .arg(path);
    const QFileInfo data(dataFile);
    if (target.absoluteFilePath() == data.absoluteFilePath() ||
        (target.exists() && target.canonicalFilePath() == data.canonicalFilePath()))
        return L10n::tr(language, QStringLiteral("%1 is the data file."),
                        QStringLiteral("%1 veri dosyasıdır."))
            .arg(path);
    return {};
}

} // namespace ExportTarget
