#include "app/TFM_Helpers.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/HelperLookup.h"
#include "app/WidgetHelpers.h"
#include "util/TIniFile.h"

namespace {

// Splits "Key=Value" at its first "=".
std::pair<QString, QString> keyAndValue(const std::string& line)
{
    const size_t equals = line.find('=');
    if (equals == std::string::npos)
        return {ToQString(line), QString()};
    return {ToQString(line.substr(0, equals)), ToQString(line.substr(equals + 1))};
}

const char* sectionOf(THelpersMode mode)
{
    return mode == THelpersMode::PathList ? "SrhPath" : "Helpers";
}

} // namespace

QString ChooserStartDirectory(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed.compare(QLatin1String("C:\\"), Qt::CaseInsensitive) == 0)
        return QDir::homePath();
    return trimmed;
}

TFM_Helpers::TFM_Helpers(THelpersMode mode, QString settingsFile, QWidget* parent)
    : QDialog(parent), FMode(mode), FSettingsFile(std::move(settingsFile))
{
    setObjectName("TFM_Helpers");
    setModal(true);
    setWindowTitle(mode == THelpersMode::PathList ? QStringLiteral("Path List") : QStringLiteral("Helper Applications"));
    auto* layout = new QVBoxLayout(this);
    createTopPanel();
    createLowerPanel();
    layout->addWidget(PA_Top);
    auto* lower = new QWidget;
    lower->setObjectName("PA_Lower");
    auto* lowerLayout = new QGridLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->addWidget(LB_NameHeader, 0, 0);
    lowerLayout->addWidget(LB_ValueHeader, 0, 1, 1, 2);
    lowerLayout->addWidget(LB_Names, 1, 0);
    lowerLayout->addWidget(LB_Values, 1, 1, 1, 2);
    lowerLayout->addWidget(LB_Name, 2, 0);
    lowerLayout->addWidget(LB_Value, 2, 1, 1, 2);
    lowerLayout->addWidget(ED_Name, 3, 0);
    lowerLayout->addWidget(ED_Value, 3, 1);
    lowerLayout->addWidget(BT_BrowseValue, 3, 2);
    lowerLayout->addWidget(CHK_SaveToDisk, 4, 1);
    lowerLayout->addWidget(CHK_DefaultApp, 5, 1);
    lowerLayout->setColumnStretch(1, 2);
    lowerLayout->setColumnStretch(0, 1);
    layout->addWidget(lower, 1);
    createButtons();

    const bool pathList = mode == THelpersMode::PathList;
    // The path list needs neither the top panel nor the helper switches.
    PA_Top->setVisible(!pathList);
    CHK_SaveToDisk->setVisible(!pathList);
    CHK_DefaultApp->setVisible(!pathList);
    load();
    resize(520, pathList ? 340 : 480);
}

void TFM_Helpers::createTopPanel()
{
    PA_Top = new QWidget;
    PA_Top->setObjectName("PA_Top");
    auto* grid = new QGridLayout(PA_Top);
    grid->setContentsMargins(0, 0, 0, 0);
    ED_ToolButton = NamedLineEdit("ED_ToolButton", "Assign an application to TOOL BUTTON");
    ED_WebBrowser = NamedLineEdit("ED_WebBrowser", "Web Browser to launch when click on remote links (http://)");
    QToolButton* toolBrowse = NamedBrowseButton("BT_BrowseTool");
    QToolButton* webBrowse = NamedBrowseButton("BT_BrowseWeb");
    connect(toolBrowse, &QToolButton::clicked, this, [this] { browseProgram(ED_ToolButton); });
    connect(webBrowse, &QToolButton::clicked, this, [this] { browseProgram(ED_WebBrowser); });
    CHK_DefaultBrowser = NamedCheckBox("CHK_DefaultBrowser", "Launch default browser for http: requests");
    CHK_DefaultMail = NamedCheckBox("CHK_DefaultMail", "Launch default mail client for mailto: requests");
    connect(CHK_DefaultBrowser, &QCheckBox::clicked, this, &TFM_Helpers::browserClicked);
    auto* toolLabel = new QLabel(QStringLiteral("Tool Button"));
    toolLabel->setBuddy(ED_ToolButton);
    auto* webLabel = new QLabel(QStringLiteral("Web Browser"));
    webLabel->setBuddy(ED_WebBrowser);
    grid->addWidget(toolLabel, 0, 0);
    grid->addWidget(ED_ToolButton, 0, 1);
    grid->addWidget(toolBrowse, 0, 2);
    grid->addWidget(webLabel, 1, 0);
    grid->addWidget(ED_WebBrowser, 1, 1);
    grid->addWidget(webBrowse, 1, 2);
    grid->addWidget(CHK_DefaultBrowser, 2, 1);
    grid->addWidget(CHK_DefaultMail, 3, 1);
}

void TFM_Helpers::createLowerPanel()
{
    const bool pathList = FMode == THelpersMode::PathList;
    LB_NameHeader = new QLabel(pathList ? QStringLiteral("Description") : QStringLiteral("Extension"));
    LB_ValueHeader = new QLabel(pathList ? QStringLiteral("Path") : QStringLiteral("Application"));
    LB_Names = new QListWidget;
    LB_Names->setObjectName("LB_Names");
    LB_Values = new QListWidget;
    LB_Values->setObjectName("LB_Values");
    // Selecting a row in either list selects it in both.
    for (QListWidget* list : {LB_Names, LB_Values}) {
        connect(list, &QListWidget::currentRowChanged, this, [this](int row) {
            if (!FShowing && row >= 0)
                SelectRow(row);
        });
    }
    LB_Name = new QLabel(pathList ? QStringLiteral("Description") : QStringLiteral("File &Extension:"));
    LB_Value = new QLabel(pathList ? QStringLiteral("Full Path") : QStringLiteral("Launch Application"));
    ED_Name = NamedLineEdit("ED_Name");
    ED_Value = NamedLineEdit("ED_Value");
    LB_Name->setBuddy(ED_Name);
    LB_Value->setBuddy(ED_Value);
    connect(ED_Name, &QLineEdit::textChanged, this, &TFM_Helpers::editChanged);
    connect(ED_Value, &QLineEdit::textChanged, this, &TFM_Helpers::editChanged);
    BT_BrowseValue = NamedBrowseButton(pathList ? "BT_DirValue" : "BT_BrowseValue");
    connect(BT_BrowseValue, &QToolButton::clicked, this, [this, pathList] {
        if (!pathList) {
            browseProgram(ED_Value);
            return;
        }
        const QString chosen =
            QFileDialog::getExistingDirectory(this, LB_Value->text(), ChooserStartDirectory(ED_Value->text()));
        if (!chosen.isEmpty())
            ED_Value->setText(chosen);
    });
    CHK_SaveToDisk = NamedCheckBox("CHK_SaveToDisk", "Save to Disk", "Display the \"Save As\" dialog to user.");
    CHK_DefaultApp = NamedCheckBox("CHK_DefaultApp", "Launch Default App.");
    connect(CHK_SaveToDisk, &QCheckBox::clicked, this,
            [this] { switchClicked(CHK_SaveToDisk, SaveToDiskValue, CHK_DefaultApp); });
    connect(CHK_DefaultApp, &QCheckBox::clicked, this,
            [this] { switchClicked(CHK_DefaultApp, DefaultAppValue, CHK_SaveToDisk); });
}

void TFM_Helpers::createButtons()
{
    BT_New = NamedPushButton("BT_New", "&New Item");
    BT_Delete = NamedPushButton("BT_Delete", "&Delete Item");
    BT_Apply = NamedPushButton("BT_Apply", "&Apply");
    BT_Apply->setDefault(true);
    BT_CancelEdit = NamedPushButton("BT_CancelEdit", "Cancel");
    auto* ok = NamedPushButton("BT_OK", "&OK");
    auto* cancel = NamedPushButton("BT_Cancel", "Cancel");
    connect(BT_New, &QPushButton::clicked, this, &TFM_Helpers::NewItem);
    connect(BT_Delete, &QPushButton::clicked, this, &TFM_Helpers::DeleteItem);
    connect(BT_Apply, &QPushButton::clicked, this, &TFM_Helpers::Apply);
    connect(BT_CancelEdit, &QPushButton::clicked, this, &TFM_Helpers::CancelEdit);
    connect(ok, &QPushButton::clicked, this, &TFM_Helpers::accept);
    connect(cancel, &QPushButton::clicked, this, &TFM_Helpers::reject);
    setEditing(false);

    auto* edits = new QHBoxLayout;
    for (QPushButton* button : {BT_New, BT_Delete, BT_Apply, BT_CancelEdit})
        edits->addWidget(button);
    edits->addStretch(1);
    auto* dialog = new QHBoxLayout;
    dialog->addStretch(1);
    dialog->addWidget(ok);
    dialog->addWidget(cancel);
    auto* layout = qobject_cast<QVBoxLayout*>(this->layout());
    layout->addLayout(edits);
    layout->addLayout(dialog);
}

// ---- loading and saving ---------------------------------------------------------

void TFM_Helpers::load()
{
    TIniFile ini(ToUtf8(FSettingsFile));
    if (!ini.exists())
        return;
    if (FMode == THelpersMode::HelperApplications) {
        ED_ToolButton->setText(ToQString(ini.ReadString("Editor", "Program", "")));
        ED_WebBrowser->setText(ToQString(ini.ReadString("WebBrowser", "Program", "")));
        const bool defaultBrowser = ED_WebBrowser->text() == QLatin1String(DefaultAppValue);
        CHK_DefaultBrowser->setChecked(defaultBrowser);
        ED_WebBrowser->setEnabled(!defaultBrowser);
        CHK_DefaultMail->setChecked(ini.ReadString("Email", "Program", "") == DefaultAppValue);
    }
    for (const std::string& line : ini.ReadSectionValues(sectionOf(FMode))) {
        auto [name, value] = keyAndValue(line);
        FNames << name;
        FValues << value;
    }
    refreshLists();
}

void TFM_Helpers::Save()
{
    TIniFile ini(ToUtf8(FSettingsFile));
    const char* section = sectionOf(FMode);
    // A name that cannot be stored is refused before anything is changed.
    for (const QString& name : FNames)
        TIniFile::CheckKey(ToUtf8(name));
    ini.EraseSection(section);
    for (qsizetype i = 0; i < FNames.size(); ++i)
        ini.WriteString(section, ToUtf8(FNames[i]), ToUtf8(FValues[i]));
    if (FMode == THelpersMode::PathList)
        return;
    auto writeOrErase = [&ini](const char* name, const QString& value) {
        if (value.isEmpty())
            ini.EraseSection(name);
        else
            ini.WriteString(name, "Program", ToUtf8(value));
    };
    writeOrErase("Editor", ED_ToolButton->text());
    writeOrErase("WebBrowser", ED_WebBrowser->text());
    writeOrErase("Email", CHK_DefaultMail->isChecked() ? QString::fromLatin1(DefaultAppValue) : QString());
}

void TFM_Helpers::accept()
{
    try {
        Save();
    } catch (const std::exception& e) {
        QMessageBox::critical(this, windowTitle(), QString::fromUtf8(e.what()));
        return;
    }
    QDialog::accept();
}

// ---- editing ------------------------------------------------------------------

void TFM_Helpers::refreshLists()
{
    FShowing = true;
    LB_Names->clear();
    LB_Values->clear();
    LB_Names->addItems(FNames);
    LB_Values->addItems(FValues);
    LB_Names->setCurrentRow(FSelected);
    LB_Values->setCurrentRow(FSelected);
    FShowing = false;
}

void TFM_Helpers::SelectRow(int row)
{
    if (row < 0 || row >= FNames.size())
        return;
    FSelected = row;
    showRow(row);
}

void TFM_Helpers::showRow(int row)
{
    FShowing = true;
    LB_Names->setCurrentRow(row);
    LB_Values->setCurrentRow(row);
    FShowing = false;
    const bool valid = row >= 0 && row < FNames.size();
    const QString value = valid ? FValues[row] : QString();
    setEditsSilently(valid ? FNames[row] : QString(), value);
    CHK_SaveToDisk->setChecked(value == QLatin1String(SaveToDiskValue));
    CHK_DefaultApp->setChecked(value == QLatin1String(DefaultAppValue));
    updateProgramEnabled();
    setEditing(false);
}

void TFM_Helpers::setEditsSilently(const QString& name, const QString& value)
{
    FShowing = true;
    ED_Name->setText(name);
    ED_Value->setText(value);
    FShowing = false;
}

void TFM_Helpers::editChanged()
{
    if (!FShowing)
        setEditing(true);
}

void TFM_Helpers::setEditing(bool editing)
{
    BT_Apply->setEnabled(editing);
    BT_CancelEdit->setEnabled(editing);
}

bool TFM_Helpers::Apply()
{
    QString name = ED_Name->text();
    if (name.startsWith('.'))
        name.remove(0, 1);
    // "." alone would make an empty key: refused like an empty field.
    if (name.isEmpty()) {
        QMessageBox::critical(this, windowTitle(), QStringLiteral("File Extension cannot be empty"), QMessageBox::Ok);
        return false;
    }
    const QString value = ED_Value->text();
    if (FNewItem || FSelected < 0) {
        FNames << name;
        FValues << value;
        FSelected = int(FNames.size()) - 1;
    } else {
        FNames[FSelected] = name;
        FValues[FSelected] = value;
    }
    FNewItem = false;
    refreshLists();
    showRow(FSelected);
    return true;
}

void TFM_Helpers::CancelEdit()
{
    FNewItem = false;
    showRow(FSelected);
}

void TFM_Helpers::NewItem()
{
    if (BT_Apply->isEnabled() && !Apply())
        return;
    setEditsSilently(QString(), QString());
    CHK_SaveToDisk->setChecked(false);
    CHK_DefaultApp->setChecked(false);
    updateProgramEnabled();
    ED_Name->setFocus();
    FNewItem = true;
}

void TFM_Helpers::DeleteItem()
{
    if (FSelected < 0 || FSelected >= FNames.size())
        return;
    FNames.removeAt(FSelected);
    FValues.removeAt(FSelected);
    if (FNames.isEmpty())
        FSelected = -1;
    else
        FSelected = std::max(0, FSelected - 1);
    FNewItem = false;
    refreshLists();
    showRow(FSelected);
}

void TFM_Helpers::switchClicked(QCheckBox* box, const char* value, QCheckBox* other)
{
    if (box->isChecked()) {
        ED_Value->setText(QString::fromLatin1(value));
        other->setChecked(false);
    } else if (ED_Value->text() == QLatin1String(value)) {
        ED_Value->clear();
    }
    updateProgramEnabled();
}

void TFM_Helpers::updateProgramEnabled()
{
    const bool free = !CHK_SaveToDisk->isChecked() && !CHK_DefaultApp->isChecked();
    ED_Value->setEnabled(free || FMode == THelpersMode::PathList);
    BT_BrowseValue->setEnabled(ED_Value->isEnabled());
}

void TFM_Helpers::browserClicked()
{
    if (CHK_DefaultBrowser->isChecked())
        ED_WebBrowser->setText(QString::fromLatin1(DefaultAppValue));
    else if (ED_WebBrowser->text() == QLatin1String(DefaultAppValue))
        ED_WebBrowser->clear();
    ED_WebBrowser->setEnabled(!CHK_DefaultBrowser->isChecked());
}

void TFM_Helpers::browseProgram(QLineEdit* edit)
{
    // Programs here rarely end in ".EXE": all files are offered first.
    QString allFiles = QStringLiteral("All Files (*)");
    const QString chosen = QFileDialog::getOpenFileName(this, windowTitle(), edit->text(),
                                                        QStringLiteral("EXE Files (*.EXE);;All Files (*)"), &allFiles);
    if (!chosen.isEmpty())
        edit->setText(chosen);
}
