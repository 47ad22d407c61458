#include "board/ProjectMenu.h"

#include "model/Store.h"
#include "ui/Icons.h"
#include "ui/StatusStyle.h"
#include "ui/Theme.h"

#include <algorithm>

ProjectMenu::ProjectMenu(Store& store, const QUuid& projectId, QWidget* parent)
    : QMenu(parent), m_store(&store), m_id(projectId)
{
    setObjectName(QStringLiteral("projectMenu"));
    const AppLanguage language = store.language();
    auto text = [language](const char* en, const char* tr) {
        return language == AppLanguage::tr ? QString::fromUtf8(tr) : QString::fromUtf8(en);
    };

    std::optional<Status> current;
    const QVector<Project>& projects = store.data().projects;
    const auto it =
        std::find_if(projects.begin(), projects.end(), [&](const Project& p) { return p.id == projectId; });
    if (it != projects.end())
        current = it->status;

    m_edit = addAction(text("Edit…", "Düzenle…"));
    connect(m_edit, &QAction::triggered, this, [this] {
        if (m_store)
            m_store->ui().setEditor(EditorTarget::edit(m_id));
    });

    m_move = addMenu(text("Move to", "Şuraya taşı"));
    m_move->setObjectName(QStringLiteral("moveTo"));
    // Always the three statuses in their own order, whatever the board's column order.
    for (Status status : StatusInfo::all) {
        QAction* item = m_move->addAction(StatusStyle::title(status, language));
        item->setData(StatusInfo::rawValue(status));
        item->setEnabled(!current || *current != status);
        connect(item, &QAction::triggered, this, [this, status] {
            if (m_store)
                m_store->move(m_id, status);
        });
    }

    addSeparator();
    m_delete = addAction(text("Delete", "Sil"));
    // The red bin marks the one destructive item.
    m_delete->setIcon(Icons::icon(QStringLiteral("trash"), Theme::rose(), 14));
    connect(m_delete, &QAction::triggered, this, [this] {
        if (m_store)
            m_store->deleteProject(m_id);
    });
}
