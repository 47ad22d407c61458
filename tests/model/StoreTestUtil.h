#pragma once

#include "TestProjects.h"
#include "model/DataFile.h"
#include "model/Store.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace StoreTestUtil {

inline QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

inline AppData readDocument(const QString& path)
{
    return DataFile::decode(readFile(path)).value_or(AppData{});
}

inline Project makeProject(const QString& name, Status status, double fee, const QDate& day,
                           const QString& client = {}, const QString& category = {})
{
    return TestProjects::make(name, fee, TestProjects::noon(day), status, client, category);
}

} // namespace StoreTestUtil
