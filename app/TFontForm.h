#pragma once
#include <QDialog>
#include <QFont>
#include <optional>
#include <string>

#include "util/Colors.h"

class QCheckBox;
class QPushButton;
class TColorGrid;
class TFVBase;
class TFrameViewer;

enum class TFontChoice { Proportional, Fixed };

// "Viewer Preferences": the default fonts and colours of documents, picked on
// a live sample. The sample viewer holds the values being edited; the caller
// copies them in before and out after an accepted dialog.
// The font a font dialog shows for a requested one: the installed family
// that serves it.
QFont FontAsInstalled(const QFont& requested);
// A font chosen in the dialog, with the requested family's own name kept when
// the choice is the family that already serves it.
QFont KeepRequestedFamily(const QFont& requested, const QFont& chosen);

class TFontForm : public QDialog {
    Q_OBJECT
public:
    // The sample document, answered for the name "sample".
    static const char* const SampleText;

    explicit TFontForm(QWidget* parent = nullptr);
    ~TFontForm() override;

    // The seven defaults and the link underline option, from a viewer and back.
    void TakeDefaults(const TFVBase& from);
    void GiveDefaults(TFVBase& to) const;
    bool SaveAsDefault() const;
    TFrameViewer& Sample() const { return *FSample; }
    // Loads the sample document again with the values being edited.
    void ShowSample();

protected:
    void showEvent(QShowEvent* event) override;
    // The platform's colour and font dialogs; none when cancelled.
    virtual std::optional<TColor> ChooseColor(TColor initial);
    virtual std::optional<QFont> ChooseFont(const QFont& initial, TFontChoice choice);

private:
    enum class TColorRole { Text, Background, Link, OverLink };
    void setColor(TColorRole role, TColor color);
    void paletteClicked(TColorRole role);
    void proportionalFontClicked();
    void fixedFontClicked();
    void underlineClicked(bool underline);
    void readerColorsClicked(bool on);

    TFrameViewer* FSample = nullptr;
    QCheckBox* CHK_Underline = nullptr;
    QCheckBox* CHK_ReaderColors = nullptr;
    QCheckBox* CHK_SaveDefault = nullptr;
};
