// TFM_PlatForm: the view options beyond the panel switches — the Viewer
// Preferences dialog and the zoom of the browser view.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QWheelEvent>
#include <array>

#include "app/TFM_PlatForm.h"
#include "app/TFontForm.h"
#include "app/TSearchPage.h"
#include "app/WidgetHelpers.h"
#include "html/viewer/TFrameViewer.h"
#include "util/TIniFile.h"

namespace {

// The zoom steps, in percent; Ctrl+Plus and Ctrl+Minus walk along them.
constexpr std::array<int, 13> ZoomSteps { 30, 50, 67, 75, 80, 90, 100, 110, 125, 150, 175, 200, 300 };

int NextZoom(int current, int direction)
{
    if (direction > 0) {
        for (int step : ZoomSteps)
            if (step > current)
                return step;
        return ZoomSteps.back();
    }
    for (auto it = ZoomSteps.rbegin(); it != ZoomSteps.rend(); ++it)
        if (*it < current)
            return *it;
    return ZoomSteps.front();
}

} // namespace

void TFM_PlatForm::connectViewOptions()
{
    connect(findChild<QAction*>("MNU_Fonts"), &QAction::triggered, this, &TFM_PlatForm::FontsClick);
    // The zoom commands sit in the Options menu, where their shortcuts show;
    // the shortcuts work wherever the menu is hidden, as every command's do.
    FOptionsMenu->addSeparator();
    auto zoomItem = [this](const char* name, const char* caption, QList<QKeySequence> keys, auto handler) {
        QAction* action = addAction(FOptionsMenu, name, caption);
        action->setShortcuts(keys);
        connect(action, &QAction::triggered, this, handler);
    };
    zoomItem("MNU_ZoomIn", "Zoom &In", { QKeySequence(QKeySequence::ZoomIn), QKeySequence("Ctrl+=") },
        &TFM_PlatForm::ZoomIn);
    zoomItem("MNU_ZoomOut", "Zoom &Out", { QKeySequence(QKeySequence::ZoomOut) }, &TFM_PlatForm::ZoomOut);
    zoomItem("MNU_ZoomReset", "&Actual Size", { QKeySequence("Ctrl+0") }, [this] { SetZoom(100); });
}

void TFM_PlatForm::FontsClick()
{
    TFontForm dialog(this);
    dialog.TakeDefaults(*HTMLViewer1);
    if (dialog.exec() != QDialog::Accepted)
        return;
    dialog.GiveDefaults(*HTMLViewer1);
    TViewerOptions& v = FViewerOptions;
    v.DefFontName = ToQString(HTMLViewer1->DefFontName);
    v.DefPreFontName = ToQString(HTMLViewer1->DefPreFontName);
    v.DefFontColor = HTMLViewer1->DefFontColor;
    v.DefFontSize = HTMLViewer1->DefFontSize;
    v.DefHotSpotColor = HTMLViewer1->DefHotSpotColor;
    v.DefBackground = HTMLViewer1->DefBackground;
    v.DefOverLinkColor = HTMLViewer1->DefOverLinkColor;
    v.NoLinkUnderline = (HTMLViewer1->fvOptions & fvNoLinkUnderline) != 0;
    v.ReaderColors = (HTMLViewer1->fvOptions & fvReaderColors) != 0;
    Refresh();
    FSearchPage->ApplySearchColors(v.DefBackground, v.DefFontName, v.DefFontColor);
    if (dialog.SaveAsDefault())
        writeViewerLook();
}

void TFM_PlatForm::writeViewerLook()
{
    const TViewerOptions& v = FViewerOptions;
    try {
        TIniFile ini(ToUtf8(FSettingsFile));
        ini.WriteString("HTMLViewer1", "FontName", ToUtf8(v.DefFontName));
        ini.WriteString("HTMLViewer1", "PreFontName", ToUtf8(v.DefPreFontName));
        ini.WriteColor("HTMLViewer1", "FontColor", v.DefFontColor);
        ini.WriteInteger("HTMLViewer1", "FontSize", v.DefFontSize);
        ini.WriteColor("HTMLViewer1", "LinkColor", v.DefHotSpotColor);
        ini.WriteColor("HTMLViewer1", "Background", v.DefBackground);
        ini.WriteColor("HTMLViewer1", "OverLink", v.DefOverLinkColor);
        ini.WriteBool("HTMLViewer1", "UnderLine", !v.NoLinkUnderline);
        ini.WriteBool("HTMLViewer1", "UseMyColors", v.ReaderColors);
    } catch (const std::exception& e) {
        QMessageBox::critical(this, QApplication::applicationName(), QString::fromUtf8(e.what()));
    }
}

// ---- zoom ----------------------------------------------------------------------

int TFM_PlatForm::Zoom() const
{
    return FViewerOptions.Zoom;
}

void TFM_PlatForm::ZoomIn()
{
    SetZoom(NextZoom(Zoom(), 1));
}

void TFM_PlatForm::ZoomOut()
{
    SetZoom(NextZoom(Zoom(), -1));
}

void TFM_PlatForm::SetZoom(int percent)
{
    percent = std::clamp(percent, ZoomSteps.front(), ZoomSteps.back());
    if (percent == FViewerOptions.Zoom)
        return;
    FViewerOptions.Zoom = percent;
    HTMLViewer1->SetZoom(percent);
    FLinkLabel->setText(QStringLiteral("Zoom %1%").arg(percent));
    // Remembered at once: a reader who zooms expects the next start to keep it.
    try {
        TIniFile ini(ToUtf8(FSettingsFile));
        ini.WriteInteger("HTMLViewer1", "Zoom", percent);
    } catch (const std::exception& e) {
        QMessageBox::critical(this, QApplication::applicationName(), QString::fromUtf8(e.what()));
    }
}

bool TFM_PlatForm::zoomWheel(QObject* watched, QEvent* event)
{
    // Key presses pass through the same filter: only a wheel turn zooms.
    if (event->type() != QEvent::Wheel)
        return false;
    auto* wheel = static_cast<QWheelEvent*>(event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!(wheel->modifiers() & Qt::ControlModifier) || !widget || !HTMLViewer1->isAncestorOf(widget))
        return false;
    int delta = wheel->angleDelta().y();
    if (delta != 0)
        delta > 0 ? ZoomIn() : ZoomOut();
    return true;
}
