#pragma once
// The port of the one line as the windows below the main window reach it:
// the main window hands in its serial control when it creates it, and takes
// it back when it goes.

class MSComm;

void SetLinePort(MSComm *port);
// The line's port; nullptr while there is no main window.
MSComm *LinePort();

// The transfer menus and windows start nothing while the port is closed:
// true when it is open, else false after telling the operator.
bool PortOpenOrTell();
