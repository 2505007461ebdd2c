#pragma once
#include <QDialog>

class QLineEdit;

// The small "BookMark" dialog: one description and one location.
class TFM_BookMark : public QDialog {
    Q_OBJECT
public:
    TFM_BookMark(const QString& description, const QString& location, QWidget* parent = nullptr);
    QString Description() const;
    QString Location() const;

private:
    QLineEdit* ED_Description = nullptr;
    QLineEdit* ED_Location = nullptr;
};
