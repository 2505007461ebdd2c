#include "app/TFM_PageMargins.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "app/WidgetHelpers.h"

namespace {

constexpr const char* placeholderProperty = "placeholder";

} // namespace

TFM_PageMargins::TFM_PageMargins(const TPageMargins& m, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Page Margins"));
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    ShowMessage = [this](const QString& message) {
        QMessageBox::information(this, QApplication::applicationName(), message);
    };
    auto* layout = new QVBoxLayout(this);

    auto* grid = new QGridLayout;
    int row = 0;
    auto field = [&](const char* caption, QDoubleSpinBox* box) {
        auto* label = new QLabel(QString::fromLatin1(caption));
        label->setBuddy(box);
        grid->addWidget(label, row, 0);
        grid->addWidget(box, row, 1);
        grid->addWidget(new QLabel(QStringLiteral("mm")), row, 2);
        ++row;
    };
    field("&Top", ED_Top = millimetres("ED_Top", m.Top));
    field("&Bottom", ED_Bottom = millimetres("ED_Bottom", m.Bottom));
    field("&Left", ED_Left = millimetres("ED_Left", m.Left));
    field("&Right", ED_Right = millimetres("ED_Right", m.Right));
    layout->addLayout(grid);

    auto* templates = new QFormLayout;
    // The built-in texts show what a template looks like; the current
    // templates (possibly empty) replace them.
    ED_Header = NamedLineEdit("ED_Header");
    ED_Header->setText(QStringLiteral("#FILENAME"));
    ED_Header->setText(m.Header);
    ED_Footer = NamedLineEdit("ED_Footer");
    ED_Footer->setText(QStringLiteral("Page #PAGENUM"));
    ED_Footer->setText(m.Footer);
    ED_Header->setMinimumWidth(260);
    templates->addRow(QStringLiteral("&Header"), ED_Header);
    templates->addRow(QStringLiteral("&Footer"), ED_Footer);
    layout->addLayout(templates);

    auto* panels = new QHBoxLayout;
    for (const char* text : { "#PAGENUM", "#FILENAME", "#TIMESTAMP" }) {
        auto* panel = new QLabel(QString::fromLatin1(text));
        panel->setObjectName(QStringLiteral("PA_") + QString::fromLatin1(text + 1));
        panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
        panel->setAlignment(Qt::AlignCenter);
        panel->setToolTip(QStringLiteral("Insert timestamp to text"));
        panel->setCursor(Qt::PointingHandCursor);
        panel->setProperty(placeholderProperty, QString::fromLatin1(text));
        panel->installEventFilter(this);
        panels->addWidget(panel);
    }
    layout->addLayout(panels);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    CentreOnScreen(this);
}

QDoubleSpinBox* TFM_PageMargins::millimetres(const char* name, double centimetres)
{
    auto* box = new QDoubleSpinBox;
    box->setObjectName(name);
    box->setDecimals(1);
    box->setRange(0.0, 500.0);
    box->setValue(centimetres * 10.0);
    return box;
}

TPageMargins TFM_PageMargins::Margins() const
{
    TPageMargins m;
    m.Top = ED_Top->value() / 10.0;
    m.Bottom = ED_Bottom->value() / 10.0;
    m.Left = ED_Left->value() / 10.0;
    m.Right = ED_Right->value() / 10.0;
    m.Header = ED_Header->text();
    m.Footer = ED_Footer->text();
    return m;
}

void TFM_PageMargins::InsertPlaceholder(const QString& placeholder)
{
    QWidget* focus = QApplication::focusWidget();
    if (focus != ED_Header && focus != ED_Footer) {
        ShowMessage(QStringLiteral("Please place your cusor in Header / Footer box first"));
        return;
    }
    static_cast<QLineEdit*>(focus)->insert(placeholder);
}

bool TFM_PageMargins::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        QString placeholder = watched->property(placeholderProperty).toString();
        if (!placeholder.isEmpty()) {
            InsertPlaceholder(placeholder);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
