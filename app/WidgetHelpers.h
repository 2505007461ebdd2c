#pragma once
// Named widgets for the program's windows, dialogs and pages, and the
// conversions between their texts and ours. The object names are
// the names the settings, tests and access files know the controls by.
#include <QString>
#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QToolButton;

QLineEdit* NamedLineEdit(const char* name, const char* hint = "");
QCheckBox* NamedCheckBox(const char* name, const char* caption, const char* hint = "", bool checked = false);
// The "..." button beside a field that opens a file or folder chooser.
QToolButton* NamedBrowseButton(const char* name);
// A button that is never the dialog's default.
QPushButton* NamedPushButton(const char* name, const char* caption);

inline QString ToQString(const std::string& text) { return QString::fromStdString(text); }
inline std::string ToUtf8(const QString& text) { return text.toStdString(); }

class QWidget;
// Sizes the window to its contents and centres it on its screen.
void CentreOnScreen(QWidget* window);
