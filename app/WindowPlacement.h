#pragma once
// Where the main window goes on the screens there are now.
#include <QList>
#include <QRect>

// The bounds a window opens with when nothing was saved: four fifths of the
// available area in each direction, centred in it.
QRect FirstStartBounds(const QRect& available);

// Saved bounds made reachable: on the screen they overlap most, moved (and
// shrunk when larger) into its available area; bounds that overlap no screen
// (a monitor that is gone, a hand-edited file) go to the first screen, the
// primary one. Sizes below minimum are raised to it.
QRect PlaceOnScreens(const QRect& wanted, const QList<QRect>& availableAreas, const QSize& minimum);
