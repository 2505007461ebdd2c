#include "app/TFontForm.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "app/TColorGrid.h"
#include "app/WidgetHelpers.h"
#include "html/viewer/QtColor.h"
#include "html/viewer/TFrameViewer.h"

const char* const TFontForm::SampleText
    = "<center><h1>Heading</h1></center><ul>Some normal text.<li><a href=NoWhere>HotSpot Item</a><li><b>Bold "
      "Text</b><li><i>Italicized Text</i><li><code>Code Text</code><li><pre>Fixed fonts</pre></ul><hr>";

namespace {

constexpr const char* SampleName = "sample";

TColor ToTColor(const QColor& c)
{
    return RGBColor(c.red(), c.green(), c.blue());
}

// The seven defaults the dialog edits.
void CopyLook(const TFVBase& from, TFVBase& to)
{
    to.DefFontName = from.DefFontName;
    to.DefPreFontName = from.DefPreFontName;
    to.DefFontColor = from.DefFontColor;
    to.DefFontSize = from.DefFontSize;
    to.DefHotSpotColor = from.DefHotSpotColor;
    to.DefBackground = from.DefBackground;
    to.DefOverLinkColor = from.DefOverLinkColor;
}

} // namespace

TFontForm::TFontForm(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Viewer Preferences"));
    setObjectName("FontForm");
    auto* layout = new QHBoxLayout(this);

    FSample = new TFrameViewer;
    FSample->setObjectName("SampleViewer");
    FSample->setMinimumSize(300, 320);
    FSample->fvOptions = fvOverLinksActive;
    FSample->OnBufferRequest = [](TFrameViewer*, const std::string& source, std::string& buffer) {
        if (source == SampleName)
            buffer = SampleText;
    };
    layout->addWidget(FSample, 1);

    auto* right = new QVBoxLayout;
    auto* colours = new QGridLayout;
    const std::pair<TColorRole, const char*> roles[]
        = { { TColorRole::Text, "Text" }, { TColorRole::Background, "Background " },
              { TColorRole::Link, "Link" }, { TColorRole::OverLink, "Over Link" } };
    const char* names[] = { "Text", "Background", "Link", "OverLink" };
    int row = 0;
    for (auto [role, caption] : roles) {
        const char* name = names[row];
        auto* label = new QLabel(QString::fromLatin1(caption));
        auto* grid = new TColorGrid;
        grid->setObjectName(QStringLiteral("CG_%1").arg(name));
        connect(grid, &TColorGrid::ColorPicked, this, [this, role](TColor color) { setColor(role, color); });
        QPushButton* palette = NamedPushButton("", "Color Palette");
        palette->setObjectName(QStringLiteral("BT_%1Palette").arg(name));
        palette->setToolTip(QStringLiteral("Select a color from Windows Color Palette"));
        connect(palette, &QPushButton::clicked, this, [this, role] { paletteClicked(role); });
        colours->addWidget(label, row * 2, 0, 1, 2);
        colours->addWidget(grid, row * 2 + 1, 0);
        colours->addWidget(palette, row * 2 + 1, 1, Qt::AlignTop);
        ++row;
    }
    right->addLayout(colours);

    auto* fonts = new QGroupBox(QStringLiteral("Set Font"));
    auto* fontsLayout = new QVBoxLayout(fonts);
    QPushButton* proportional = NamedPushButton("BT_ProportionalFont", "Proportional Font");
    QPushButton* fixed = NamedPushButton("BT_FixedFont", "Fixed Font");
    connect(proportional, &QPushButton::clicked, this, &TFontForm::proportionalFontClicked);
    connect(fixed, &QPushButton::clicked, this, &TFontForm::fixedFontClicked);
    fontsLayout->addWidget(proportional);
    fontsLayout->addWidget(fixed);
    right->addWidget(fonts);

    CHK_Underline = NamedCheckBox("CHK_Underline", "Underline HyperLink", "", true);
    connect(CHK_Underline, &QCheckBox::clicked, this, &TFontForm::underlineClicked);
    CHK_ReaderColors = NamedCheckBox("CHK_ReaderColors", "Always use my colours",
                                     "Documents show in the colours above, without their own colours and backgrounds",
                                     false);
    connect(CHK_ReaderColors, &QCheckBox::clicked, this, &TFontForm::readerColorsClicked);
    CHK_SaveDefault = NamedCheckBox("CHK_SaveDefault", "&Save as Default", "", true);
    right->addWidget(CHK_Underline);
    right->addWidget(CHK_ReaderColors);
    right->addWidget(CHK_SaveDefault);
    right->addStretch(1);

    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("&OK"));
    ok->setObjectName("BT_OK");
    ok->setDefault(true);
    QPushButton* cancel = NamedPushButton("BT_Cancel", "&Cancel");
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    right->addLayout(buttons);
    layout->addLayout(right);
}

TFontForm::~TFontForm() = default;

void TFontForm::TakeDefaults(const TFVBase& from)
{
    CopyLook(from, *FSample);
    FSample->fvOptions = fvOverLinksActive | (from.fvOptions & (fvNoLinkUnderline | fvReaderColors));
}

void TFontForm::GiveDefaults(TFVBase& to) const
{
    CopyLook(*FSample, to);
    const unsigned edited = fvNoLinkUnderline | fvReaderColors;
    to.fvOptions = (to.fvOptions & ~edited) | (FSample->fvOptions & edited);
}

bool TFontForm::SaveAsDefault() const
{
    return CHK_SaveDefault->isChecked();
}

void TFontForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
    CHK_Underline->setChecked((FSample->fvOptions & fvNoLinkUnderline) == 0);
    CHK_ReaderColors->setChecked((FSample->fvOptions & fvReaderColors) != 0);
    ShowSample();
}

void TFontForm::ShowSample()
{
    try {
        FSample->ShowFile(SampleName);
    } catch (const std::exception&) {
        // The sample is built in; there is nothing else to show.
    }
}

void TFontForm::setColor(TColorRole role, TColor color)
{
    switch (role) {
    case TColorRole::Text:
        FSample->DefFontColor = color;
        break;
    case TColorRole::Background:
        FSample->DefBackground = color;
        break;
    case TColorRole::Link:
        FSample->DefHotSpotColor = color;
        break;
    case TColorRole::OverLink:
        FSample->DefOverLinkColor = color;
        break;
    }
    ShowSample();
}

void TFontForm::paletteClicked(TColorRole role)
{
    const TColor current[] = { FSample->DefFontColor, FSample->DefBackground, FSample->DefHotSpotColor,
        FSample->DefOverLinkColor };
    if (std::optional<TColor> color = ChooseColor(current[int(role)]))
        setColor(role, *color);
    else
        ShowSample();
}

void TFontForm::proportionalFontClicked()
{
    QFont initial(ToQString(FSample->DefFontName), FSample->DefFontSize);
    if (std::optional<QFont> font = ChooseFont(initial, TFontChoice::Proportional)) {
        FSample->DefFontName = ToUtf8(font->family());
        if (font->pointSize() > 0)
            FSample->DefFontSize = font->pointSize();
    }
    ShowSample();
}

void TFontForm::fixedFontClicked()
{
    QFont initial(ToQString(FSample->DefPreFontName), FSample->DefFontSize);
    if (std::optional<QFont> font = ChooseFont(initial, TFontChoice::Fixed))
        FSample->DefPreFontName = ToUtf8(font->family());
    ShowSample();
}

void TFontForm::underlineClicked(bool underline)
{
    FSample->fvOptions = (underline ? unsigned(fvOverLinksActive) : unsigned(fvOverLinksActive | fvNoLinkUnderline)) |
                         (FSample->fvOptions & fvReaderColors);
    ShowSample();
}

void TFontForm::readerColorsClicked(bool on)
{
    FSample->fvOptions = on ? FSample->fvOptions | fvReaderColors : FSample->fvOptions & ~unsigned(fvReaderColors);
    ShowSample();
}

std::optional<TColor> TFontForm::ChooseColor(TColor initial)
{
    QColor color = QColorDialog::getColor(QtColorOf(initial), this);
    if (!color.isValid())
        return std::nullopt;
    return ToTColor(color);
}

QFont FontAsInstalled(const QFont& requested)
{
    // "Times New Roman" is served by whatever font the system substitutes;
    // the dialog lists installed families only, so it is preset to that one.
    QFont installed = requested;
    installed.setFamily(QFontInfo(requested).family());
    return installed;
}

QFont KeepRequestedFamily(const QFont& requested, const QFont& chosen)
{
    // Choosing the family that already stands in for the requested one is no
    // change: the document keeps the name its settings give.
    QFont kept = chosen;
    if (chosen.family() == QFontInfo(requested).family())
        kept.setFamily(requested.family());
    return kept;
}

std::optional<QFont> TFontForm::ChooseFont(const QFont& initial, TFontChoice choice)
{
    bool ok = false;
    QFontDialog::FontDialogOptions options;
    if (choice == TFontChoice::Fixed)
        options |= QFontDialog::MonospacedFonts;
    const QFont shown = FontAsInstalled(initial);
    QFont font = QFontDialog::getFont(&ok, shown, this, QString(), options);
    if (!ok)
        return std::nullopt;
    return KeepRequestedFamily(initial, font);
}
