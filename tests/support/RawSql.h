#pragma once
// Reaching a database file outside the program's own connections, to damage
// it or to look at its bytes.

#include <QByteArray>
#include <QString>
#include <QStringList>

// Runs the SQL statements on the file through a connection of its own; a
// statement that fails fails the test.
void RawSql(const QString &path, const QStringList &statements);

// The first column of every row a query gives, as text; empty when the
// query fails.
QStringList RawQuery(const QString &path, const QString &statement);

// The file's bytes, empty when it cannot be read.
QByteArray FileBytes(const QString &path);
