#pragma once
// The receive side of the one serial line: takes what the serial control has
// received, assembles it into lines, applies the receive threshold in force
// and hands each line on. Lines a waiting exchange needs are kept in the
// reply variables below; values the main window shows (speeds, positions,
// status, I/O, running registers) are told by signal.
//
// Connect the signals directly: a listener runs inside the receive event, in
// the order the lines arrived, as a nested wait of the program expects.
//
//     UnitLink link(*port);
//     connect(&link, &UnitLink::PositionsReported, window, &Window::showPositions);
//     link.SendQuery(PositionQuery(kind));
//     ...                           // the reply arrives in the event loop
//
// One line is handed on per receive event; characters after its CR stay in
// the serial control and are delivered by the next event, so a threshold set
// by the line's listener is in force for the line after it.

#include "shared/UnitKind.h"

#include <QObject>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

#include "link/LineAssembly.h"

class MSComm;

// The two lines the link keeps for a waiting exchange.
enum class ReplyKept { ReplyLine, IxsReplyLine };

// Per-axis 32-bit values of a speed or position reply, X to U; nothing where
// the field did not convert (its box stays as it was).
using AxisWords = std::array<std::optional<int32_t>, 4>;

class UnitLink : public QObject
{
    Q_OBJECT
public:
    explicit UnitLink(MSComm &port, QObject *parent = nullptr);

    MSComm &port() const { return m_port; }

    // Sets the receive threshold of the query's reply and writes the query.
    void SendQuery(const UnitQuery &query);

    // One collected line: taken when it meets the threshold in force (then
    // Replied is raised and the line analysed); either way a speed or
    // position query counts as answered.
    void DispatchReply(const QString &line);
    // Dispatches on the head of a line that was taken.
    void AnalyzeReply(const QString &line);

    // Drops the part of a line collected so far (received input was thrown away).
    void DiscardCollectedLine();

    // Reads everything received, so that no old reply stands for a new one.
    void EmptyReceiveBuffer();

    // ---- the line's variables
    QString ReceiveBuffer;   // the line being collected
    QString ReplyLine;       // the last reply of a parameter query (IXR, RAT, DR1 ...)
    QString IxsReplyLine;    // the last reply of a register or status query (IXS, PRX ...)
    QString StatusLine;      // the last status reply (INR)
    int16_t StatusReady = 0; // 1 once a status reply came; the I/O poll takes it back to 0
    int SpeedReplyPending = 0;     // a speed query went out and is not answered yet
    int PositionReplyPending = 0;  // a position query likewise

    QString &kept(ReplyKept which) { return which == ReplyKept::IxsReplyLine ? IxsReplyLine : ReplyLine; }

signals:
    // A line that met the threshold arrived: the unit answers.
    void Replied();
    // The line closed under the program (the device went away).
    void LineClosed();
    void SpeedsReported(const AxisWords &speeds);
    void PositionsReported(const AxisWords &counts);
    // A version reply; the unit's identity is stored in the shared module.
    void VersionReported();
    void StatusReported(const QString &line);
    // The outputs of one axis (OUT); bits nothing when they did not convert.
    void AxisOutputsReported(int axis, std::optional<int> bits);
    // The I/O ports (INP): outputs and inputs, nothing where they did not convert.
    void IoPortsReported(std::optional<int> outputs, std::optional<int> inputs);
    void RunningRegisterReported(int axis, int reg);

private:
    void OnComm();

    MSComm &m_port;
    LineAssembler m_assembler;
};
