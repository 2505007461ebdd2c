#include "html/viewer/QtControls.h"

#include <QApplication>
#include <algorithm>
#include <QEventLoop>
#include <QImage>
#include <QStyle>
#include <QStyleOptionButton>
#include <QKeyEvent>
#include <gtest/gtest.h>

#include "html/viewer/QtTimer.h"

namespace {

void PressKey(QWidget* widget, int key, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
}

QWidget* WidgetOf(TControl& control) { return dynamic_cast<TQtWidgetHolder&>(control).widget(); }

// A shown, active panel, so that focus changes happen as on a desktop.
struct TPanel {
    TPanel()
    {
        panel.resize(400, 300);
        panel.show();
        panel.activateWindow();
        QApplication::setActiveWindow(&panel);
        QApplication::processEvents();
    }
    QWidget panel;
    TQtControlFactory factory{&panel};
};

} // namespace

TEST(QtControls, StartHiddenAndFollowBoundsVisibilityAndEnabling)
{
    TPanel p;
    auto edit = p.factory.createEdit();
    EXPECT_FALSE(edit->isVisible());
    edit->setBounds({10, 20, 130, 40});
    edit->setVisible(true);
    EXPECT_TRUE(edit->isVisible());
    EXPECT_EQ(edit->bounds(), (TRect{10, 20, 130, 40}));
    edit->setPosition(-4000, 5);
    EXPECT_EQ(edit->bounds(), (TRect{-4000, 5, -3880, 25}));
    edit->setEnabled(false);
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_GT(edit->frameSize().x, 0);
    TBitmap picture = edit->snapshot();
    EXPECT_EQ(picture.width, 120);
    EXPECT_EQ(picture.height, 20);

    // Deleting the panel first leaves the control harmless.
    auto list = p.factory.createListBox();
    delete WidgetOf(*list);
    EXPECT_EQ(list->count(), 0);
    list->addItem(u"gone");
    EXPECT_FALSE(list->isVisible());
}

TEST(QtControls, EditReportsTypingKeysAndFocusButNotProgrammaticChanges)
{
    TPanel p;
    auto edit = p.factory.createEdit();
    edit->setBounds({0, 0, 100, 20});
    edit->setVisible(true);
    std::string log;
    edit->events().onChange = [&] { log += "change,"; };
    edit->events().onFocus = [&] { log += "focus,"; };
    edit->events().onBlur = [&] { log += "blur,"; };
    edit->events().onKey = [&](int key, TShiftState) {
        log += "key" + std::to_string(key) + ",";
        return key == KeyReturn;
    };
    edit->setText(u"preset");
    EXPECT_EQ(log, "");
    edit->setFocus();
    EXPECT_TRUE(edit->hasFocus());
    PressKey(WidgetOf(*edit), Qt::Key_A, "a");
    PressKey(WidgetOf(*edit), Qt::Key_Return);
    EXPECT_EQ(log, "focus,key65,change,key13,");
    EXPECT_EQ(edit->text(), u"preseta");

    auto other = p.factory.createButton();
    other->setVisible(true);
    other->setFocus();
    EXPECT_EQ(log, "focus,key65,change,key13,blur,");

    edit->setMaxLength(3);
    EXPECT_EQ(edit->text(), u"pre");
    edit->setEchoMode(TEchoMode::Password);
    auto* line = static_cast<QLineEdit*>(WidgetOf(*edit));
    EXPECT_EQ(line->echoMode(), QLineEdit::Password);
    EXPECT_EQ(line->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, line), '*');
}

TEST(QtControls, ButtonsChecksAndRadiosReportClicksAndStayUngrouped)
{
    TPanel p;
    auto button = p.factory.createButton();
    button->setCaption(u"Save & go");
    EXPECT_EQ(button->caption(), u"Save & go");
    int clicks = 0;
    button->events().onClick = [&] { ++clicks; };
    static_cast<QPushButton*>(WidgetOf(*button))->click();
    EXPECT_EQ(clicks, 1);

    auto first = p.factory.createRadioButton();
    auto second = p.factory.createRadioButton();
    first->events().onClick = [&] { ++clicks; };
    first->setChecked(true);
    EXPECT_EQ(clicks, 1);
    static_cast<QRadioButton*>(WidgetOf(*second))->click();
    EXPECT_TRUE(first->checked()); // the engine, not Qt, unchecks the group
    EXPECT_TRUE(second->checked());

    auto box = p.factory.createCheckBox();
    EXPECT_EQ(box->kind(), TControlKind::CheckBox);
    box->events().onClick = [&] { ++clicks; };
    static_cast<QCheckBox*>(WidgetOf(*box))->click();
    EXPECT_TRUE(box->checked());
    EXPECT_EQ(clicks, 2);
}

// The darkest grey of a column (vertical) or row of a control's picture.
int DarkestGrey(const QImage& image, int index, bool column)
{
    int darkest = 255;
    const int length = column ? image.height() : image.width();
    for (int i = 0; i < length; ++i)
        darkest = std::min(darkest, qGray(column ? image.pixel(index, i) : image.pixel(i, index)));
    return darkest;
}

TEST(QtControls, CheckBoxesAndRadiosAreDrawnWholeInTheirBox)
{
    TPanel p;
    for (bool radio : {false, true}) {
        for (int side : {13, 16}) {
            const std::string what = std::string(radio ? "radio " : "check box ") + std::to_string(side);
            auto check = radio ? p.factory.createRadioButton() : p.factory.createCheckBox();
            check->setBounds({0, 0, side, side});
            check->setVisible(true);
            QWidget* widget = WidgetOf(*check);
            QStyleOptionButton option;
            option.initFrom(widget);
            const QRect indicator = widget->style()->subElementRect(
                radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator, &option, widget);
            EXPECT_TRUE(widget->rect().contains(indicator))
                << what << ": the indicator " << indicator.width() << "x" << indicator.height() << " at "
                << indicator.x() << "," << indicator.y();
            if (radio)
                continue;
            // The square's outline shows on its right and bottom edges as on
            // its left and top ones.
            const QImage image = widget->grab().toImage();
            ASSERT_EQ(image.width(), side);
            const int last = side - 1;
            EXPECT_NEAR(DarkestGrey(image, last, true), DarkestGrey(image, 0, true), 40) << what << ": right edge";
            EXPECT_NEAR(DarkestGrey(image, last, false), DarkestGrey(image, 0, false), 40) << what << ": bottom edge";
        }
    }
}

TEST(QtControls, ListsSelectSinglyOrManyAndReportUserChanges)
{
    TPanel p;
    auto list = p.factory.createListBox();
    list->setBounds({0, 0, 100, 40});
    list->setVisible(true);
    int changes = 0;
    list->events().onChange = [&] { ++changes; };
    for (int i = 0; i < 20; ++i)
        list->addItem(u"item " + std::u16string(1, char16_t(u'a' + i)));
    list->setItemIndex(3);
    list->setItemIndex(4);
    EXPECT_FALSE(list->selected(3));
    EXPECT_TRUE(list->selected(4));
    list->setSelectionMode(TSelectionMode::Multiple);
    list->setSelected(7, true);
    EXPECT_TRUE(list->selected(4));
    EXPECT_TRUE(list->selected(7));
    EXPECT_EQ(changes, 0);
    list->setTopIndex(10);
    EXPECT_EQ(list->topIndex(), 10);
    list->setItemIndex(-1);
    EXPECT_FALSE(list->selected(7));
    EXPECT_EQ(list->item(19), u"item t");
    EXPECT_EQ(list->item(20), u"");

    auto combo = p.factory.createComboBox();
    combo->setVisible(true);
    combo->events().onChange = [&] { ++changes; };
    combo->addItem(u"one");
    combo->addItem(u"two");
    combo->setItemIndex(0);
    EXPECT_EQ(changes, 0);
    combo->setFocus();
    PressKey(WidgetOf(*combo), Qt::Key_Down);
    EXPECT_EQ(combo->itemIndex(), 1);
    EXPECT_TRUE(combo->selected(1));
    EXPECT_EQ(changes, 1);
}

TEST(QtControls, MemoWrapsAtItsWidthAndKeepsHardLines)
{
    TPanel p;
    auto memo = p.factory.createMemo();
    memo->setFont({"Courier New", 13, 0, 1});
    memo->setBounds({0, 0, 120, 80});
    memo->setText(u"alpha beta gamma delta epsilon\nzeta");
    std::vector<std::u16string> soft = memo->displayedLines();
    EXPECT_GT(soft.size(), 2u);
    std::u16string joined;
    for (const auto& line : soft)
        joined += line;
    EXPECT_EQ(joined, u"alpha beta gamma delta epsilonzeta");
    EXPECT_EQ(soft.back(), u"zeta");
    memo->setWrapMode(TWrapMode::Off);
    EXPECT_EQ(memo->displayedLines(),
              (std::vector<std::u16string>{u"alpha beta gamma delta epsilon", u"zeta"}));
    EXPECT_EQ(memo->text(), u"alpha beta gamma delta epsilon\nzeta");
}

TEST(QtControls, TabOrderFollowsTheGivenSequence)
{
    TPanel p;
    auto a = p.factory.createEdit();
    auto b = p.factory.createTabStop();
    auto c = p.factory.createButton();
    c->setBounds({5, 6, 50, 26});
    c->setVisible(true);
    p.factory.setTabOrder({c.get(), a.get(), b.get()});
    EXPECT_EQ(c->bounds(), (TRect{5, 6, 50, 26}));
    EXPECT_TRUE(c->isVisible());
    EXPECT_FALSE(a->isVisible());
    EXPECT_EQ(WidgetOf(*c)->nextInFocusChain(), WidgetOf(*a));
    EXPECT_EQ(WidgetOf(*a)->nextInFocusChain(), WidgetOf(*b));
    EXPECT_GT(p.factory.scrollBarWidth(), 0);
}

TEST(QtTimers, FireWhileEnabledWithAPositiveInterval)
{
    TQtTimer timer;
    int fired = 0;
    QEventLoop loop;
    timer.onTimer = [&] {
        if (++fired == 3)
            loop.quit();
    };
    timer.setInterval(5);
    timer.setEnabled(true);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(fired, 3);

    timer.setInterval(0);
    QTimer::singleShot(50, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(fired, 3);
    EXPECT_TRUE(timer.enabled());
}
