#include "platform/AppInfo.h"

#include <QCoreApplication>
#include <QLocale>

#include <cstdio>
#include <cstdlib>

namespace {
QString appPath;
int localeOverride = -1;
void (*endHook)() = nullptr;
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
