#pragma once
// The one rule for switching the main window's monitor poll off while other
// work needs the line or the operator's attention, and on again after.
//
//     {
//         MonitorHold hold;     // the monitor stops
//         ...                   // sends, waits, a question
//     }                         // and polls again here
//
// A window that keeps the monitor quiet while it stays open keeps a
// std::optional<MonitorHold> and emplaces it on loading.
//
// At the end of a hold the monitor polls again, whatever it did before:
// after a transfer or a setting the operator expects the displays to follow
// the unit. Only while the I/O window polls (it takes the monitor's place)
// the monitor goes back to the state it had, and stays off if the I/O window
// opened during the hold, so that the two polls never run side by side.

class Timer;

// The main window hands its monitor timer over when it starts, and nullptr
// when it ends. Without a timer a hold does nothing.
void SetMonitorTimer(Timer *timer);

class MonitorHold
{
public:
    MonitorHold();
    ~MonitorHold() { resume(); }
    MonitorHold(const MonitorHold &) = delete;
    MonitorHold &operator=(const MonitorHold &) = delete;

    // Whether the monitor polled when the hold began.
    bool wasActive() const { return m_was; }
    // Switches the monitor back on by the rule above, once.
    void resume();

private:
    bool m_done = false;
    bool m_was = false;
    bool m_ioWasActive = false;
};

// The I/O window's poll begins (the window loads): the monitor stops.
void IoPollBegins();
// It ends (the window unloads): the monitor polls again when `restart`.
void IoPollEnds(bool restart);
