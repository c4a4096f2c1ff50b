#include "platform/AppInfo.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
QString appPath;
int localeOverride = -1;
void (*endHook)() = nullptr;
std::vector<BeforeProgramEnd *> beforeEnd;
}

BeforeProgramEnd::BeforeProgramEnd(std::function<void()> work) : m_work(std::move(work))
{
    beforeEnd.push_back(this);
}

BeforeProgramEnd::~BeforeProgramEnd()
{
    std::erase(beforeEnd, this);
}

QString AppPath()
{
    if (appPath.isEmpty() && QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return appPath;
}

void SetAppPath(const QString &dir)
{
    appPath = dir;
    while (appPath.size() > 1 && appPath.endsWith(u'/'))
        appPath.chop(1);
}

int AppVersionMajor() { return ZT_VERSION_MAJOR; }
int AppVersionMinor() { return ZT_VERSION_MINOR; }
int AppVersionRevision() { return ZT_VERSION_PATCH; }

QString AppTitle()
{
    return QStringLiteral("ztmotion");
}

int SystemLocaleId()
{
    if (localeOverride >= 0)
        return localeOverride;
    return QLocale::system().language() == QLocale::Japanese ? kLocaleJapanese : 1033;
}

void SetLocaleIdOverride(int id)
{
    localeOverride = id;
}

void EndProgram()
{
    // A copy: the work may end what registered it.
    const std::vector<BeforeProgramEnd *> pending(beforeEnd.rbegin(), beforeEnd.rend());
    for (BeforeProgramEnd *b : pending)
        if (std::find(beforeEnd.begin(), beforeEnd.end(), b) != beforeEnd.end() && b->m_work)
            b->m_work();
    if (endHook) {
        endHook();
        return;
    }
    std::fflush(nullptr);
    std::exit(0);
}

void SetEndProgramHook(void (*hook)())
{
    endHook = hook;
}
