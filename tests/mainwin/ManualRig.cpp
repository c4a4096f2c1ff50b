#include "ManualRig.h"

#include "mainwin/frmMain.h"
#include "mainwin/frmIo.h"
#include "platform/Lamp.h"
#include "platform/MSComm.h"
#include "shared/Shared.h"

#include <QtTest>

namespace {
const QByteArray kMarker = "~~\r";
}

QString PositionReply(const std::array<int32_t, 4> &pulses)
{
    QString line = QStringLiteral("POS");
    for (int32_t p : pulses)
        line += QStringLiteral(" %1,").arg(quint32(p), 8, 16, QChar(u'0')).toUpper();
    return line + u'\r';
}

frmMain *OpenMainWindow(const QString &model, const QString &settings)
{
    ResetSharedState();
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
    QByteArray got;
    if (portOpen()) {
        w->MSComm1->Output(QString::fromLatin1(kMarker));
        for (;;) {
            const QByteArray line = pty.readLine(3000);
            if (line.isEmpty()) {
                qWarning("the marker never came back");
                got += "<timeout>";
                break;
            }
            if (line.endsWith(kMarker)) {
                got += line.left(line.size() - kMarker.size());
                break;
            }
            got += line;
        }
    }
    got += pty.readAvailable();
    return QString::fromLatin1(got).replace(u'\r', u'|');
}
