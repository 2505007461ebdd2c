#pragma once
// Moving the keyboard focus between the frames of a frame set: F6 goes to
// the next frame (round the set), Shift+F6 to the previous one; from
// outside the frames (the location bar, the tool bar) F6 enters the first.
class QWidget;
class THTMLViewer;

// The frame after (direction 1) or before (-1) the current one among the
// shown document viewers inside root, in frame-set order; the first (last)
// one when current is not among them; null when root shows none.
THTMLViewer* NextFrameView(QWidget& root, const QWidget* current, int direction);

// Makes F6 and Shift+F6 move between root's frames anywhere in its window.
void InstallFrameCycleKeys(QWidget& root);
