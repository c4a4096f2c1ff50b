#pragma once
// The data control of a program database: the database file and the table it
// is bound to. The program editing windows open and read the table through it.

#include <QString>

class DataControl
{
public:
    QString DatabaseName;
    QString RecordSource;
};
