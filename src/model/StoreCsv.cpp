// The Store's side of CSV files: exporting the document's projects.
#include "model/CsvExport.h"
#include "model/Store.h"

#include <QFileInfo>

bool Store::exportCsv(const QString& path, bool allYears)
{
    const QVector<Project> projects =
        CsvExport::select(m_data, allYears ? std::nullopt : std::optional<int>(m_activeYear));
    QString error;
    if (!CsvExport::write(path, projects, &error)) {
        m_ui.show(tr(QStringLiteral("Could not export: "), QStringLiteral("Dışa aktarılamadı: ")) + error);
        return false;
    }
    const int n = int(projects.size());
    const QString file = QFileInfo(path).fileName();
    const QString count = QString::number(n);
    m_ui.show(tr(n == 1 ? QStringLiteral("Exported 1 project to %1").arg(file)
                        : QStringLiteral("Exported %1 projects to %2").arg(count, file),
                 QStringLiteral("%1 proje %2 dosyasına aktarıldı").arg(count, file)));
    return true;
}
