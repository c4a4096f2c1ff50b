#pragma once
// Controls as wide as the widest text they can show, measured with their own
// font and style. A value box is measured when it is fitted and again
// whenever its font or style changes: a layout may make it wider, never so
// narrow that a number scrolls and shows without its leading digits or its
// sign.

#include <QSize>
#include <QStringList>
#include <functional>

class QLineEdit;
class QTableView;

// The widest texts a box can hold. Asked for at every fit, so that they can
// follow what decides them (an axis's unit and factor).
using WidestTexts = std::function<QStringList()>;

// The width `box` needs to draw each of `texts` whole, without scrolling
// it, with the caret beside it.
int BoxWidthFor(const QLineEdit *box, const QStringList &texts);

// Keeps `box` at least as wide as its widest texts from now on. With a
// `designWidth` the box keeps exactly that width, unless its texts need more.
void FitBoxWidth(QLineEdit *box, WidestTexts texts, int designWidth = 0);
// Measures a fitted box again, after what decides its texts has changed.
void RefitBoxWidth(QLineEdit *box);

// The size a cell of `view` needs to draw `text` whole, its grid line
// included.
QSize CellSizeFor(const QTableView *view, const QString &text);

// Each of `shapes` once for every digit, all its digits replaced by that
// one: a number's widest look, whichever digit a proportional font draws
// widest.
QStringList EveryDigit(const QStringList &shapes);
