#pragma once
// Reads a picture index as a test sees it from outside the program: through a connection of its
// own, closed again before the function returns, so the program's own connections are untouched.
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

// The first column of every row the statement gives.
inline QStringList QueryIndex(const QString& path, const QString& statement)
{
    QStringList values;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("query"));
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(statement))
                while (query.next())
                    values << query.value(0).toString();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("query"));
    return values;
}
