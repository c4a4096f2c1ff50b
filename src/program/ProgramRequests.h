#pragma once
// What the program editors ask of the main window, which they do not know:
// src/mainwin connects these signals to its handlers and hands in the one
// question the 2-axis editor asks. A request nobody listens to does nothing.

#include <QObject>
#include <QString>

#include <functional>

class ProgramRequests : public QObject
{
    Q_OBJECT
public:
    // Whether the main window's 2-axis program transfer runs: an editor
    // opened meanwhile keeps its transfer menus off. Unset: none runs.
    std::function<bool()> transfer2Running;

signals:
    // The 2-axis editor's DownLoad and UpLoad: the main window's program
    // transfer of Index (0 X and Y) in front of the wait window titled `title`.
    void runProgramTransfer2(bool download, int Index, const QString &title);
    // The 4-axis editor's DownLoad and UpLoad: the download or upload window
    // for Index (0 every axis).
    void showSendPrg(int Index);
    void showRecvPrg(int Index);
};

ProgramRequests &ProgramWindowRequests();
