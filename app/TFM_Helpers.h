#pragma once
// The "Helper Applications" dialog: programs for file extensions, the "Edit"
// tool button's program, the web browser and the mail client. The same dialog
// edits the search page's path list (descriptions and full paths).
#include <QDialog>
#include <QString>
#include <QStringList>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;
class QWidget;

enum class THelpersMode { HelperApplications, PathList };

// Where a directory chooser opens for a field's text: the text, or the user's
// home directory when it is empty or names the original platform's default root.
QString ChooserStartDirectory(const QString& text);

class TFM_Helpers : public QDialog {
    Q_OBJECT
public:
    TFM_Helpers(THelpersMode mode, QString settingsFile, QWidget* parent = nullptr);

    // The rows, for callers and tests: extensions (or descriptions) and programs (or paths).
    const QStringList& Names() const { return FNames; }
    const QStringList& Values() const { return FValues; }
    int SelectedRow() const { return FSelected; }
    bool NewItemMode() const { return FNewItem; }

    // The commands of the lower panel.
    void SelectRow(int row);
    // False when refused (empty name).
    bool Apply();
    void CancelEdit();
    void NewItem();
    void DeleteItem();
    // Writes the settings file (the "&OK" button does this, then closes).
    void Save();

    void accept() override;

private:
    void createTopPanel();
    void createLowerPanel();
    void createButtons();
    void load();
    void showRow(int row);
    void setEditsSilently(const QString& name, const QString& value);
    void editChanged();
    void setEditing(bool editing);
    void switchClicked(QCheckBox* box, const char* value, QCheckBox* other);
    void updateProgramEnabled();
    void browserClicked();
    void browseProgram(QLineEdit* edit);
    void refreshLists();

    THelpersMode FMode;
    QString FSettingsFile;
    QStringList FNames;
    QStringList FValues;
    int FSelected = -1;
    bool FNewItem = false;
    bool FShowing = false;

    QWidget* PA_Top = nullptr;
    QLineEdit* ED_ToolButton = nullptr;
    QLineEdit* ED_WebBrowser = nullptr;
    QCheckBox* CHK_DefaultBrowser = nullptr;
    QCheckBox* CHK_DefaultMail = nullptr;
    QLabel* LB_NameHeader = nullptr;
    QLabel* LB_ValueHeader = nullptr;
    QListWidget* LB_Names = nullptr;
    QListWidget* LB_Values = nullptr;
    QLabel* LB_Name = nullptr;
    QLabel* LB_Value = nullptr;
    QLineEdit* ED_Name = nullptr;
    QLineEdit* ED_Value = nullptr;
    QToolButton* BT_BrowseValue = nullptr;
    QCheckBox* CHK_SaveToDisk = nullptr;
    QCheckBox* CHK_DefaultApp = nullptr;
    QPushButton* BT_New = nullptr;
    QPushButton* BT_Delete = nullptr;
    QPushButton* BT_Apply = nullptr;
    QPushButton* BT_CancelEdit = nullptr;
};
