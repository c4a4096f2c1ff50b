#pragma once
// What every benchmark needs: dialogs that answer OK and remember what they
// showed, the median of repeated timings, and one line per figure.

#include "platform/Dialogs.h"

#include <QElapsedTimer>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

// Answers OK to every box (Yes/No boxes included) and lets input boxes pass.
class BenchDialogs : public DialogService
{
public:
    MsgResult message(const QString &text, const QString &, MsgButtons, MsgIcon) override
    {
        shown << text;
        return MsgResult::Ok;
    }
    std::optional<QString> input(const QString &, const QString &, const QString &d,
                                 const InputCheck &) override
    {
        return d;
    }
    QStringList shown;
};

// Median of `runs` timings of `work` in ms (`work` returns its own time).
inline double median(int runs, const std::function<double()> &work)
{
    std::vector<double> t;
    for (int i = 0; i < runs; ++i)
        t.push_back(work());
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

// The time `work` takes, in ms.
inline double timeMs(const std::function<void()> &work)
{
    QElapsedTimer t;
    t.start();
    work();
    return double(t.nsecsElapsed()) / 1e6;
}

// One figure beside its reference, with the ratio and whether it is within the aim.
inline void FigureLine(const char *what, double ms, const char *refName, double ref, double aim)
{
    const double ratio = ms / ref;
    std::printf("%-34s %8.2f ms   %-28s %8.2f ms   ratio %6.2f  (aim <= %.2f)%s\n", what, ms, refName, ref, ratio,
                aim, ratio <= aim ? "" : "  ABOVE AIM");
}
