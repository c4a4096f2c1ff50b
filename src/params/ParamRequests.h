#pragma once
// What the parameter windows and a data file load ask of the main window,
// which they do not know: src/mainwin connects these signals to its
// handlers. A request nobody listens to does nothing.

#include <QObject>

class ParamRequests : public QObject
{
    Q_OBJECT
signals:
    // The parameter grid's DownLoad and UpLoad menus: the main window's
    // parameter transfer of Index (0 every axis of the unit).
    void paramDownLoad(int Index);
    void paramUpLoad(int Index);
    // The stored units changed (the scale window's OK, a data file load):
    // the main window shows them on its first `axes` axes.
    void showScaleOnMain(int axes);
};

ParamRequests &ParamWindowRequests();
