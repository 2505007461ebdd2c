#include "app/TFM_BookMark.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

#include "app/WidgetHelpers.h"

TFM_BookMark::TFM_BookMark(const QString& description, const QString& location, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("BookMark"));
    auto* layout = new QFormLayout(this);
    ED_Description = NamedLineEdit("ED_Description");
    ED_Location = NamedLineEdit("ED_Location");
    ED_Description->setText(description);
    ED_Location->setText(location);
    ED_Description->setMinimumWidth(320);
    layout->addRow(QStringLiteral("Description"), ED_Description);
    layout->addRow(QStringLiteral("Location"), ED_Location);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addRow(buttons);
}

QString TFM_BookMark::Description() const
{
    return ED_Description->text();
}

QString TFM_BookMark::Location() const
{
    return ED_Location->text();
}
