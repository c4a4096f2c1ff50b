#include "RawSql.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

void RawSql(const QString &path, const QStringList &statements)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        for (const QString &s : statements)
            QVERIFY2(QSqlQuery(db).exec(s), qPrintable(s));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
}

QStringList RawQuery(const QString &path, const QString &statement)
{
    QStringList out;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        db.setDatabaseName(path);
        QSqlQuery q(db);
        if (db.open() && q.exec(statement))
            while (q.next())
                out << q.value(0).toString();
        q = QSqlQuery();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
    return out;
}

QByteArray FileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
