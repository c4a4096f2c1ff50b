#include "mainwin/frmIo.h"

#include "platform/Lamp.h"
#include "shared/Bounds.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
frmIo *ioWindow = nullptr;

const char *const kParallelNames[24] = {
    "HOME", "STROBE", "X", "Y", "Z", "U", "REG0", "REG1", "REG2", "REG3", "REG4", "REG5",
    "REG6", "STOP", "MODE0", "MODE1", "ACK", "X-RUN", "Y-RUN", "Z-RUN", "U-RUN", "ERR0",
    "ERR1", "ERR2"};
}

frmIo *IoWindow()
{
    return ioWindow;
}

frmIo::frmIo(QWidget *parent) : QWidget(parent, Qt::Window)
{
    ioWindow = this;
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Input/Output"));
    Timer2 = new QTimer(this);
    Timer2->setInterval(100);
    buildLayout();
}

frmIo::~frmIo()
{
    if (ioWindow == this)
        ioWindow = nullptr;
}

void frmIo::showAxisOutputs(int axis, unsigned bits)
{
    // X and Y outputs sit in Picture1(14..17), Z and U in Picture3(14..17).
    auto &group = axis < 2 ? Picture1 : Picture3;
    const int first = 14 + 2 * (axis % 2);
    if (axis < 0 || axis > 3)
        return;
    if (Lamp *l = At(group, first))
        l->setLit(bits & 1);
    if (Lamp *l = At(group, first + 1))
        l->setLit(bits & 2);
}

void frmIo::buildLayout()
{
    auto *outer = new QVBoxLayout(this);
    auto titled = [this](int index, const QString &text) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QStringLiteral("title%1").arg(index));
        l->setMinimumWidth(80);
        return l;
    };
    auto lampCell = [](QGridLayout *grid, int row, int col, Lamp *lamp, QLabel *label) {
        grid->addWidget(lamp, row, col * 2);
        grid->addWidget(label, row, col * 2 + 1);
    };

    // Axis signals: four columns X, Y, Z, U of seven inputs and two outputs.
    Frame1 = new QGroupBox(QStringLiteral(" Axis "), this);
    auto *axisGrid = new QGridLayout(Frame1);
    Label1 = new QLabel(QStringLiteral("INPUT"), Frame1);
    Label2 = new QLabel(QStringLiteral("OUTPUT"), Frame1);
    axisGrid->addWidget(Label1, 0, 0, 1, 8);
    axisGrid->addWidget(Label2, 8, 0, 1, 8);
    for (int i = 0; i < 36; ++i)
        Label5[i] = titled(i, QStringLiteral("X-IN0"));
    for (int i = 0; i < 18; ++i) {
        Picture1[i] = new Lamp(Frame1);
        Picture3[i] = new Lamp(Frame1);
    }
    for (int axis = 0; axis < 4; ++axis) {
        auto &lamps = axis < 2 ? Picture1 : Picture3;
        const int lampBase = 7 * (axis % 2);
        for (int n = 0; n < 7; ++n)
            lampCell(axisGrid, 1 + n, axis, lamps[lampBase + n], Label5[7 * axis + n]);
        for (int n = 0; n < 2; ++n)
            lampCell(axisGrid, 9 + n, axis, lamps[14 + 2 * (axis % 2) + n], Label5[28 + 2 * axis + n]);
    }
    outer->addWidget(Frame1);

    // Parallel port: four columns of six.
    Frame3 = new QGroupBox(QStringLiteral(" Parallel "), this);
    auto *parGrid = new QGridLayout(Frame3);
    for (int i = 0; i < 24; ++i) {
        Picture2[i] = new Lamp(Frame3);
        Label6[i] = new QLabel(QLatin1String(kParallelNames[i]), Frame3);
        lampCell(parGrid, i % 6, i / 6, Picture2[i], Label6[i]);
    }
    outer->addWidget(Frame3);

    // Expanded I/O: inputs in two columns of eight above the outputs.
    Frame2 = new QGroupBox(QStringLiteral(" Expanded I/O"), this);
    auto *expGrid = new QGridLayout(Frame2);
    Label3 = new QLabel(QStringLiteral("INPUT"), Frame2);
    Label4 = new QLabel(QStringLiteral("OUTPUT"), Frame2);
    expGrid->addWidget(Label3, 0, 0, 1, 4);
    expGrid->addWidget(Label4, 9, 0, 1, 4);
    for (int i = 0; i < 16; ++i) {
        Picture4[i] = new Lamp(Frame2);
        Picture5[i] = new Lamp(Frame2);
        Label7[i] = titled(36 + i, QStringLiteral("Label7"));
        Label8[i] = titled(52 + i, QStringLiteral("Label8"));
        lampCell(expGrid, 1 + i % 8, i / 8, Picture4[i], Label7[i]);
        lampCell(expGrid, 10 + i % 8, i / 8, Picture5[i], Label8[i]);
    }
    outer->addWidget(Frame2);

    auto *bottom = new QHBoxLayout;
    Check1 = new QCheckBox(QStringLiteral("Name Change"), this);
    Command1 = new QPushButton(QStringLiteral("Exit"), this);
    bottom->addWidget(Check1);
    bottom->addStretch();
    bottom->addWidget(Command1);
    outer->addLayout(bottom);
}
