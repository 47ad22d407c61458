#pragma once

#include "TestProjects.h"

// Projects for the statistics tests, dated at local noon as the application keeps them.
namespace StatsTestData {

inline Project project(const QString& name, double fee, int year, int month, Status status = Status::paid,
                       const QString& client = QStringLiteral("Client"),
                       const QString& category = QStringLiteral("Branding"), double outsource = 0)
{
    return TestProjects::make(name, fee, TestProjects::noon(QDate(year, month, 15)), status, client, category,
                              outsource);
}

} // namespace StatsTestData
