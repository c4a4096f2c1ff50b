// The displays the unit's replies write: speeds, positions, running
// registers and the I/O window's lamps. The link reads the lines and their
// fields; these slots only show them.

#include "mainwin/frmMain.h"
#include "link/ReplyFields.h"
#include "mainwin/ScaleOnMain.h"
#include "mainwin/frmIo.h"
#include "platform/Lamp.h"
#include "shared/Bounds.h"
#include "shared/NumberText.h"
#include "shared/Shared.h"

#include <QLineEdit>

namespace {

void writeBox(QLineEdit *box, const QString &text)
{
    if (!box)
        return;
    box->setText(text);
    box->repaint();
}

} // namespace

void frmMain::ShowSpeeds(const AxisWords &speeds)
{
    // A field that does not convert leaves its box as it was.
    for (int axis = 0; axis < kAxes; ++axis)
        if (const auto v = speeds[size_t(axis)])
            writeBox(speedBox(axis), SignedForm(*v));
}

void frmMain::ShowPositions(const AxisWords &counts)
{
    for (int axis = 0; axis < kAxes; ++axis) {
        const auto v = counts[size_t(axis)];
        if (!v)
            continue;
        g.LastPulseCount[size_t(axis)] = *v;
        // A factor the reader refuses shows nothing new either.
        if (const auto shown = PositionText(*v, PositionFactorText(axis)))
            writeBox(positionBox(axis), *shown);
    }
}

void frmMain::ShowRunningRegister(int axis, int reg)
{
    writeBox(registerBox(axis), QString::number(reg));
}

void frmMain::ShowAxisOutputs(int axis, std::optional<int> bits)
{
    if (frmIo *io = IoWindow())
        if (axis >= 0 && bits)
            io->showAxisOutputs(axis, *bits);
    frmIo::IoPollStep = 2;
}

void frmMain::ShowIoPorts(std::optional<int> outputs, std::optional<int> inputs)
{
    if (frmIo *io = IoWindow()) {
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
    frmIo::IoPollStep = 0;
}
