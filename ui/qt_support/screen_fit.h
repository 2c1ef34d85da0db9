#pragma once
#include <QRect>

// Windows placed from stored values or beside another window must land whole
// on a screen: a placement stored on a larger monitor, or under another
// scale factor, would otherwise open past the edges.

// r moved, and shrunk where it is larger, so that it lies whole within
// available.
QRect FitWithin(const QRect& r, const QRect& available);

// The available area (without panels and docks) of the screen r's centre
// lies on; the primary screen's when it lies on none.
QRect AvailableAreaFor(const QRect& r);
