#pragma once
#include <QDialog>
#include <array>

#include "app/TFM_PlatForm.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

// "Directory Buttons Maintenace": edits the ten entries of the directory-button bar.
class TFM_DirButtons : public QDialog {
    Q_OBJECT
public:
    using TEntries = std::array<TDirButtonEntry, TFM_PlatForm::DirButtonCount>;

    explicit TFM_DirButtons(const TEntries& entries, QWidget* parent = nullptr);
    const TEntries& Entries() const { return FEntries; }

    // The entry being edited; choosing another applies the edits first.
    void SelectEntry(int index);
    int SelectedEntry() const { return FSelected; }
    void Apply();
    QLineEdit* CaptionEdit() const { return ED_Caption; }
    QLineEdit* TargetEdit() const { return ED_Target; }
    QCheckBox* ExeDirCheck() const { return CHK_ExeDir; }

private:
    void showEntry(int index);
    void browse();

    TEntries FEntries;
    int FSelected = 0;
    std::array<QPushButton*, TFM_PlatForm::DirButtonCount> FToggles {};
    QLineEdit* ED_Caption = nullptr;
    QLineEdit* ED_Target = nullptr;
    QCheckBox* CHK_ExeDir = nullptr;
};
