#pragma once
// Second lines of the refusal messages: what the operator entered that the
// program does not take, so it can be found and put right.

#include <QString>

// The second line for a character an entry does not take, naming it: a
// line break, a tab, the double quote, another control character by its
// code, or any other character as it looks and by its code.
QString RefusedCharLine(QChar c);

// "Bad Setting." (or another first line) with a second line under it.
QString WithReason(const QString &first, const QString &reason);
