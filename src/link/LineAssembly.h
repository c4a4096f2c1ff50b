#pragma once
// Collects received characters into reply lines ended by CR.

#include <QString>

constexpr int kMaxLineLength = 1026;

class LineAssembler
{
public:
    // Feeds one character into `buffer` (the line being collected). Returns
    // true when the character was a CR: the whole line, CR included, has
    // then been moved from `buffer` into `line`. LF is dropped wherever it
    // stands. A line that grows past kMaxLineLength characters without a CR
    // is thrown away, and so is everything up to the next CR.
    bool feed(QChar c, QString &buffer, QString *line);
    bool discarding() const { return m_discarding; }

private:
    bool m_discarding = false;
};

// Whether a collected line is taken: its first CR stands at or beyond the
// receive threshold in force (positions count from 1).
bool LineMeetsThreshold(const QString &line, int threshold);
