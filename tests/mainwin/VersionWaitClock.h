#pragma once
// Plays the clock of the start-up's waits for a version reply (the main
// window's Timer2), so that no start-up test depends on a time window: a
// wait that no reply can end is ended at once, as its time-out would end it.
// The program's own time-outs can then be set far longer than any reply
// takes; a wait that gets a reply runs until the reply is in.
//
// Without an open port, or without a unit, every wait is such a wait. With
// the simulated unit, a marker line written behind the try's lines comes
// back in the unit's log once the unit has handled them all; when it has
// answered none of them, nothing will come.
//
//     VersionWaitClock clock(m_main, &sim);   // before Form_Load
//     m_main->Form_Load();
//     QCOMPARE(clock.ended(), 12);            // the tries the unit did not hear

#include <QObject>

class frmMain;
class UnitSim;

class VersionWaitClock : public QObject
{
public:
    explicit VersionWaitClock(frmMain *main, UnitSim *sim = nullptr);
    ~VersionWaitClock() override;

    int waits() const { return m_waits; }   // waits begun
    int ended() const { return m_ended; }   // waits ended here

private:
    void begun();
    void logged(const QString &line);
    void end(int wait);

    frmMain *m_main;
    UnitSim *m_sim;
    int m_waits = 0;
    int m_ended = 0;
    // Lines the unit received since the last marker, and how many of them it
    // left unanswered.
    int m_received = 0;
    int m_unanswered = 0;
};
