// The Store's side of CSV files: exporting the document's projects and importing a file's.
#include "model/CsvExport.h"
#include "model/ExportTarget.h"
#include "model/Store.h"
#include "model/Text.h"

#include <QFileInfo>

bool Store::exportCsv(const QString& path, bool allYears)
{
    const QVector<Project> projects =
        CsvExport::select(m_data, allYears ? std::nullopt : std::optional<int>(m_activeYear));
    // Never over the document it was made from.
    QString error = ExportTarget::refusal(path, m_fileURL, m_language);
    if (!error.isEmpty() || !CsvExport::write(path, projects, &error)) {
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

int Store::importProjects(const QVector<Project>& projects)
{
    if (projects.isEmpty())
        return 0;
    const bool turkish = turkishCase();
    QStringList clients = m_data.clients;
    QStringList categories = m_data.categories;
    // A name the directory holds in another case takes the directory's spelling.
    const auto spelled = [turkish](QStringList& list, const QString& name) {
        const QString t = Text::trimBlanks(name);
        if (t.isEmpty())
            return t;
        if (const QString* entry = Text::findIgnoringCase(list, t, turkish))
            return *entry;
        list.append(t);
        return t;
    };
    QVector<Project> added = projects;
    for (Project& p : added) {
        if (p.id.isNull())
            p.id = QUuid::createUuid();
        p.client = spelled(clients, p.client);
        p.category = spelled(categories, p.category);
    }
    m_lastDeleted.reset();
    m_lastMove.clear();
    m_beforeRestore.reset();
    m_beforeImport = m_data;
    update([&](AppData& d) {
        d.clients = clients;
        d.categories = categories;
        d.projects = added + d.projects;
    });
    m_importGeneration = m_generation;
    const int n = int(added.size());
    m_ui.show(
        tr(n == 1 ? QStringLiteral("Imported 1 project") : QStringLiteral("Imported %1 projects").arg(n),
           QStringLiteral("%1 proje içe aktarıldı").arg(n)),
        true);
    return n;
}

bool Store::canUndoImport() const
{
    return m_beforeImport && m_importGeneration == m_generation;
}

void Store::undoImport()
{
    AppData before = std::move(*m_beforeImport);
    m_beforeImport.reset();
    update([&before](AppData& d) { d = std::move(before); });
    m_ui.show(tr(QStringLiteral("Import undone"), QStringLiteral("İçe aktarma geri alındı")));
}
