#include "ManualRig.h"
#include "ProgramState.h"

#include "mainwin/frmMain.h"
#include "mainwin/frmIo.h"
#include "platform/Lamp.h"
#include "platform/MSComm.h"
#include "mainwin/SettingsFile.h"
#include "shared/Shared.h"
#include "transfer/TransferWindow.h"

#include <QtTest>

QString PositionReply(const std::array<int32_t, 4> &pulses)
{
    QString line = QStringLiteral("POS");
    for (int32_t p : pulses)
        line += QStringLiteral(" %1,").arg(quint32(p), 8, 16, QChar(u'0')).toUpper();
    return line + u'\r';
}

frmMain *OpenMainWindow(const QString &model, const QString &settings)
{
    ResetProgramState();
    EnsureLampPictures();
    SetStartValues();
    g.UnitModel = model;
    auto *w = new frmMain;
    w->Timer1->setInterval(3600 * 1000);
    w->MSComm1->setCommPort(1);
    w->MSComm1->setSettings(settings);
    w->MSComm1->setPortOpen(true);
    return w;
}

ManualRig::ManualRig(const QString &model)
{
    qputenv("ZT_COM1", pty.devicePath().toLocal8Bit());
    w = OpenMainWindow(model, QStringLiteral("38400,N,8,1"));
}

ManualRig::~ManualRig()
{
    delete IoWindow();
    delete w;
    qunsetenv("ZT_COM1");
}

bool ManualRig::portOpen() const
{
    return w->MSComm1->PortOpen();
}

void ManualRig::closePort()
{
    w->MSComm1->setPortOpen(false);
}

QString ManualRig::wire()
{
    return QString::fromLatin1(pty.readAllWritten(*w->MSComm1)).replace(u'\r', u'|');
}
