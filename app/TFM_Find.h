#pragma once
#include <QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;

// The non-modal find dialog of the browser page: the text, "Match case",
// "Highlight all" and the direction (down unless "Up" is chosen). Its find
// button asks the owner to find the next occurrence; a change of what is to
// be highlighted asks it to mark the matches again.
class TFM_Find : public QDialog {
    Q_OBJECT
public:
    explicit TFM_Find(QWidget* parent = nullptr);

    QString FindText() const;
    void SetFindText(const QString& text);
    bool MatchCase() const;
    void SetMatchCase(bool matchCase);
    bool SearchUp() const;
    void SetSearchUp(bool up);
    bool HighlightAll() const;
    void SetHighlightAll(bool on);
    // Puts the keyboard in the text field, its text selected.
    void FocusFindText();

signals:
    void FindNextRequested();
    // "Highlight all" was switched, or the text or the case changed while on.
    void HighlightAllChanged();

private:
    QLineEdit* ED_FindText = nullptr;
    QCheckBox* CHK_MatchCase = nullptr;
    QCheckBox* CHK_HighlightAll = nullptr;
    QRadioButton* RB_Up = nullptr;
    QRadioButton* RB_Down = nullptr;
};
