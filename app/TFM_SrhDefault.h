#pragma once
// "Search Engine Defaults": headings, start-button caption, default masks and
// directory, which option groups the search page shows, the results page banner
// and where the results page is written.
#include <QDialog>

#include "app/TSearchSettings.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;

class TFM_SrhDefault : public QDialog {
    Q_OBJECT
public:
    explicit TFM_SrhDefault(QWidget* parent = nullptr);

    // Fills the fields; "LocalRF" 2 checks CHK_LOCALRF, 3 checks CHK_TEMP.
    void LoadFrom(const TSearchSettings& settings);
    // The fields taken back; "LocalRF" is 2 with CHK_LOCALRF, else 3 with
    // CHK_TEMP, else 1.
    TSearchSettings Settings() const;

private:
    void localRFClicked();
    void tempClicked();
    void reduceResultFileToName();
    void chooseDirectory();
    void chooseResultFile();

    TSearchSettings FLoaded;
    QLineEdit* ED_Header = nullptr;
    QLineEdit* ED_SubHeader = nullptr;
    QLineEdit* ED_FileType = nullptr;
    QLineEdit* DirTreeLimit = nullptr;
    QPlainTextEdit* ED_Banner = nullptr;
    QLineEdit* ED_StartCpt = nullptr;
    QLineEdit* ED_ResultFile = nullptr;
    QCheckBox* CHK_SubDir = nullptr;
    QCheckBox* CHK_HIDEDIR = nullptr;
    QCheckBox* CHK_HIDEFT = nullptr;
    QCheckBox* CHK_HIDEADV = nullptr;
    QCheckBox* CHK_DirRO = nullptr;
    QCheckBox* CHK_LOCALRF = nullptr;
    QCheckBox* CHK_TEMP = nullptr;
};
