// The one reader of the unit's replies: dispatches on the head of a line and
// either shows its values at once or keeps the line for the window waiting
// for it.

#include "mainwin/frmMain.h"
#include "link/ReplyFields.h"
#include "mainwin/frmIo.h"
#include "platform/Lamp.h"
#include "shared/Bounds.h"
#include "shared/NumberText.h"
#include "shared/Shared.h"

#include <QLineEdit>
#include <QStringList>

namespace {

// Heads of the lines kept whole for the windows that wait for them.
bool isReplyLineHead(const QString &head)
{
    static const QStringList heads = {
        QStringLiteral("IXR"), QStringLiteral("OG1"), QStringLiteral("OG2"), QStringLiteral("MO1"),
        QStringLiteral("MO2"), QStringLiteral("RAT"), QStringLiteral("ACS"), QStringLiteral("DRS"),
        QStringLiteral("DR1"), QStringLiteral("DR2"), QStringLiteral("DR3"), QStringLiteral("DR4"),
        QStringLiteral("HOS"), QStringLiteral("OFS"), QStringLiteral("TM1"), QStringLiteral("TM2"),
        QStringLiteral("TM3")};
    return heads.contains(head);
}

bool isIxsReplyLineHead(const QString &head)
{
    return head == u"IXS" || head == u"PRX" || head == u"PRY" || head == u"PRZ" || head == u"PRU";
}

void writeBox(QLineEdit *box, const QString &text)
{
    if (!box)
        return;
    box->setText(text);
    box->repaint();
}

} // namespace

void frmMain::AnalyzeReply(const QString &line)
{
    const QString head = line.left(3);
    if (head == u"SPD" || head == u"POS") {
        const bool speed = head == u"SPD";
        const int axes = AxisCount(CurrentUnitKind());
        for (int axis = 0; axis < axes && axis < kAxes; ++axis) {
            // A field that does not convert leaves its box as it was.
            const auto v = Word32At(line, 5 + 10 * axis);
            if (!v)
                continue;
            if (speed) {
                writeBox(speedBox(axis), SignedForm(*v));
            } else {
                g.LastPulseCount[size_t(axis)] = *v;
                const int unit = g.ScaleSel[axis];
                const QString factor = (unit >= 0 && unit < kUnitCodes) ? g.ScaleFactor[unit][axis]
                                                                         : QStringLiteral("1");
                // A factor the reader refuses shows nothing new either.
                if (const auto shown = PositionText(*v, factor))
                    writeBox(positionBox(axis), *shown);
            }
        }
        g.ReceiveBuffer.clear();
        (speed ? g.SpeedReplyPending : g.PositionReplyPending) = 0;
        return;
    }

    if (head == u"VER" || head == u"VAR") {
        g.UnitVersion = line.mid(4, 8);
        g.UnitVersionText = line.mid(13, 8);
        // Only a model the program knows is taken from the line.
        const QString model = line.mid(22, 1);
        if (KnownModel(model))
            g.UnitModel = model;
        UnitAnswered = 1;
        g.ReceiveBuffer.clear();
        return;
    }

    if (isReplyLineHead(head)) {
        g.ReplyLine = line;
        return;
    }
    if (isIxsReplyLineHead(head)) {
        g.IxsReplyLine = line;
        return;
    }

    if (head == u"INR") {
        EvaluateStatus(line);
        MonitorState = 3;
        return;
    }

    if (head == u"OUT") {
        if (frmIo *io = IoWindow()) {
            const int axis = AxisIndex(line.size() > 4 ? line[4] : QChar());
            const auto bits = HexAt(line, 6, 2);
            if (axis >= 0 && bits)
                io->showAxisOutputs(axis, *bits);
        }
        g.IoPollStep = 2;
        return;
    }

    if (head == u"IDC") {
        const int axis = AxisIndex(line.size() > 4 ? line[4] : QChar());
        writeBox(registerBox(axis), QString::number(RunningRegister(line)));
        return;
    }

    if (head == u"INP") {
        if (frmIo *io = IoWindow()) {
            const auto outputs = HexAt(line, 5, 4);
            const auto inputs = HexAt(line, 9, 4);
            for (int i = 0; i < 16; ++i) {
                if (outputs)
                    if (Lamp *l = At(io->Picture5, i))
                        l->setLit((int16_t(*outputs) & BitMask[i]) == BitMask[i]);
                // A clear input bit is an active input.
                if (inputs)
                    if (Lamp *l = At(io->Picture4, i))
                        l->setLit((int16_t(*inputs) & BitMask[i]) != BitMask[i]);
            }
        }
        g.IoPollStep = 0;
        return;
    }
}
