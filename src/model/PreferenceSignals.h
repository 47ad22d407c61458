#pragma once

#include <QObject>

// Tells the running program that a preference was written with a new value, so that the
// parts bound to it (tray icon, task-bar entry, tips) follow at once, whoever wrote it.
class PreferenceSignals final : public QObject
{
    Q_OBJECT

public:
    static PreferenceSignals* instance();

signals:
    void changed(const QString& key);

private:
    PreferenceSignals() = default;
};
