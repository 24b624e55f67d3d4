#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>

// A statement run on the file through a connection of its own, as any SQLite tool would:
// the values of each row joined by "|", the rows by " / ".
inline QString peek(const QString &path, const QString &sql)
{
    QStringList rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("peek"));
        db.setDatabaseName(path);
        const bool open = db.open();
        QSqlQuery q(db);
        if (!open || !q.exec(sql))
            rows << QStringLiteral("error: ") + q.lastError().text();
        while (q.next()) {
            QStringList values;
            for (int i = 0; i < q.record().count(); ++i)
                values << q.value(i).toString();
            rows << values.join(QLatin1Char('|'));
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("peek"));
    return rows.join(QStringLiteral(" / "));
}

