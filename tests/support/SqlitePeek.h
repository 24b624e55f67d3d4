#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

// A statement run on the file through a connection of its own, as any SQLite tool would:
// the values of each row joined by "|", the rows by " / ".
inline QString peek(const QString &path, const QString &sql)
{
    QStringList rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "peek");
        db.setDatabaseName(path);
        QSqlQuery q(db);
        if (!db.open() || !q.exec(sql))
            rows << "error: " + q.lastError().text();
        while (q.next()) {
            rows << QString();
            for (int i = 0; i < q.record().count(); ++i)
                rows.last() += (i ? "|" : "") + q.value(i).toString();
        }
    }
    QSqlDatabase::removeDatabase("peek");
    return rows.join(" / ");
}
