#pragma once
// One transfer at a time owns the line. A transfer waits for the unit inside
// a nested event loop, so a menu or window can start a second one from
// within that wait; the first could not go on until the second ended, and a
// reply meant for one would end the other's wait. Every transfer entry takes
// this guard first and refuses to start when it is already held.

class TransferGuard
{
public:
    TransferGuard();      // takes the line when no transfer holds it
    ~TransferGuard();     // gives it back if this guard took it
    TransferGuard(const TransferGuard &) = delete;
    TransferGuard &operator=(const TransferGuard &) = delete;

    // Whether this guard took the line (false: another transfer runs).
    bool owns() const { return m_owns; }
    // Whether any transfer holds the line now.
    static bool Running();

private:
    bool m_owns = false;
};
