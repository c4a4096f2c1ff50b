#include "link/UnitLink.h"

#include "link/ReplyFields.h"
#include "platform/EventPump.h"
#include "platform/MSComm.h"
#include "shared/Shared.h"

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

std::optional<int> asInt(std::optional<uint32_t> v)
{
    return v ? std::optional<int>(int(*v)) : std::nullopt;
}

} // namespace

UnitLink::UnitLink(MSComm &port, QObject *parent) : QObject(parent), m_port(port)
{
    connect(&m_port, &MSComm::OnComm, this, &UnitLink::OnComm);
    connect(&m_port, &MSComm::InputDiscarded, this, &UnitLink::DiscardCollectedLine);
}

void UnitLink::DiscardCollectedLine()
{
    ReceiveBuffer.clear();
    m_assembler = LineAssembler();
}

void UnitLink::OnComm()
{
    if (m_port.CommEvent() != MSComm::comEvReceive) {
        // Line errors and modem line changes are ignored, but not a line
        // that closed under the program: every sender would do nothing.
        if (!m_port.PortOpen())
            emit LineClosed();
        return;
    }
    // One line per event: characters after its CR wait for the next event.
    const QString chunk = m_port.InputThrough(u'\r', kMaxLineLength + 2);
    QString line;
    for (const QChar c : chunk) {
        if (m_assembler.feed(c, ReceiveBuffer, &line)) {
            DispatchReply(line);
            return;
        }
    }
}

void UnitLink::SendQuery(const UnitQuery &query)
{
    m_port.setRThreshold(query.threshold);
    m_port.Output(query.command);
}

void UnitLink::EmptyReceiveBuffer()
{
    for (int i = 0; i < 11; ++i) {
        DoEvents();
        m_port.setInputLen(0);
        m_port.Input();
    }
}

void UnitLink::DispatchReply(const QString &line)
{
    if (LineMeetsThreshold(line, m_port.RThreshold())) {
        emit Replied();
        AnalyzeReply(line);
    }
    SpeedReplyPending = 0;
    PositionReplyPending = 0;
}

void UnitLink::AnalyzeReply(const QString &line)
{
    const QString head = line.left(3);
    if (head == u"SPD" || head == u"POS") {
        const bool speed = head == u"SPD";
        const int axes = AxisCount(CurrentUnitKind());
        AxisWords words{};
        for (int axis = 0; axis < axes && axis < kAxes; ++axis)
            words[size_t(axis)] = Word32At(line, 5 + 10 * axis);
        if (speed)
            emit SpeedsReported(words);
        else
            emit PositionsReported(words);
        ReceiveBuffer.clear();
        (speed ? SpeedReplyPending : PositionReplyPending) = 0;
        return;
    }

    if (head == u"VER" || head == u"VAR") {
        g.UnitVersion = line.mid(4, 8);
        g.UnitVersionText = line.mid(13, 8);
        // Only a model the program knows is taken from the line.
        const QString model = line.mid(22, 1);
        if (KnownModel(model))
            g.UnitModel = model;
        emit VersionReported();
        ReceiveBuffer.clear();
        return;
    }

    if (isReplyLineHead(head)) {
        ReplyLine = line;
        return;
    }
    if (isIxsReplyLineHead(head)) {
        IxsReplyLine = line;
        return;
    }

    if (head == u"INR") {
        StatusLine = line;
        StatusReady = 1;
        emit StatusReported(line);
        return;
    }

    if (head == u"OUT") {
        const int axis = AxisIndex(line.size() > 4 ? line[4] : QChar());
        emit AxisOutputsReported(axis, asInt(HexAt(line, 6, 2)));
        return;
    }

    if (head == u"IDC") {
        const int axis = AxisIndex(line.size() > 4 ? line[4] : QChar());
        emit RunningRegisterReported(axis, RunningRegister(line));
        return;
    }

    if (head == u"INP") {
        emit IoPortsReported(asInt(HexAt(line, 5, 4)), asInt(HexAt(line, 9, 4)));
        return;
    }
}
