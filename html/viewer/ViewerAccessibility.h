#pragma once
// How viewers meet assistive technologies: the factory that gives Qt the
// accessible interface of a viewer (TAccessibleDocument), and the events
// that tell a running assistive technology what changed. Without one
// running the events cost a test of a flag and nothing is built.
class THTMLViewer;

// Every viewer's constructor calls it at its end: the factory is installed
// once, and an interface a running assistive technology had made for the
// viewer while it was still being built (a plain widget's) is dropped.
void InstallViewerAccessibility(THTMLViewer& viewer);

// A document was shown (its title and its text are new).
void AnnounceDocumentLoaded(THTMLViewer& viewer);
// The document was scrolled.
void AnnounceScrolled(THTMLViewer& viewer);
// The caret or the selection moved (caret browsing, selecting).
void AnnounceCaretMoved(THTMLViewer& viewer);
