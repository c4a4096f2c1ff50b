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

QByteArray FileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
