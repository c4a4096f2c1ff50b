#pragma once
// The one line as the windows below the main window reach it: the main
// window hands in the line's owner when it creates it, and takes it back
// when it goes.

class MSComm;
class UnitLink;

void SetLineLink(UnitLink *link);
// The line's owner and its port; nullptr while there is no main window.
UnitLink *LineLink();
MSComm *LinePort();

// The transfer menus and windows start nothing while the port is closed:
// true when it is open, else false after telling the operator.
bool PortOpenOrTell();
