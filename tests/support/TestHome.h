#pragma once
// A temporary program folder for one test, installed as the program's home.

#include <QTemporaryDir>
#include <QString>

class TestHome
{
public:
    TestHome();
    ~TestHome();
    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};
