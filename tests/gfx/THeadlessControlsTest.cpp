#include "gfx/THeadlessControls.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Records the events of a control as a text such as "focus,click,blur".
void Trace(TControl& control, std::string& log, const std::string& name)
{
    control.events().onFocus = [&log, name] { log += name + ".focus,"; };
    control.events().onBlur = [&log, name] { log += name + ".blur,"; };
    control.events().onClick = [&log, name] { log += name + ".click,"; };
    control.events().onChange = [&log, name] { log += name + ".change,"; };
}

} // namespace

TEST(HeadlessControls, FocusMovesWithBlurBeforeFocusAndSkipsDisabled)
{
    THeadlessControlFactory factory;
    auto edit = factory.createEdit();
    auto button = factory.createButton();
    auto stop = factory.createTabStop();
    std::string log;
    Trace(*edit, log, "edit");
    Trace(*button, log, "button");
    Trace(*stop, log, "stop");

    edit->setFocus();
    button->setFocus();
    EXPECT_EQ(log, "edit.focus,edit.blur,button.focus,");
    EXPECT_TRUE(button->hasFocus());
    EXPECT_FALSE(edit->hasFocus());

    log.clear();
    factory.setTabOrder({edit.get(), button.get(), stop.get()});
    edit->setEnabled(false);
    factory.tabForward(); // button -> stop
    factory.tabForward(); // stop -> (edit disabled) -> button
    EXPECT_EQ(log, "button.blur,stop.focus,stop.blur,button.focus,");
    edit->setFocus();
    EXPECT_FALSE(edit->hasFocus());

    // A destroyed control lets go of the focus and its tab order place.
    button.reset();
    EXPECT_EQ(factory.focused(), nullptr);
    EXPECT_EQ(factory.tabOrder().size(), 2u);
}

TEST(HeadlessControls, EditKeepsMaxLengthAndHidesPasswords)
{
    THeadlessControlFactory factory;
    auto control = factory.createEdit();
    auto& edit = static_cast<THeadlessEdit&>(*control);
    std::string log;
    Trace(edit, log, "edit");
    edit.setText(u"secret words");
    EXPECT_EQ(log, ""); // programmatic changes are silent
    edit.setMaxLength(6);
    EXPECT_EQ(edit.text(), u"secret");
    edit.setEchoMode(TEchoMode::Password);
    EXPECT_EQ(edit.shownText(), u"******");
    edit.typeText(u"abcdefgh");
    EXPECT_EQ(edit.text(), u"abcdef");
    EXPECT_EQ(log, "edit.change,");

    int seen = 0;
    edit.events().onKey = [&seen](int key, TShiftState) {
        seen = key;
        return key == KeyReturn;
    };
    EXPECT_TRUE(edit.fireKey(KeyReturn));
    EXPECT_FALSE(edit.fireKey(KeyLeft));
    EXPECT_EQ(seen, KeyLeft);
}

TEST(HeadlessControls, ChecksAndRadiosFollowClicks)
{
    THeadlessControlFactory factory;
    auto box = factory.createCheckBox();
    auto radio = factory.createRadioButton();
    EXPECT_EQ(box->kind(), TControlKind::CheckBox);
    EXPECT_EQ(radio->kind(), TControlKind::RadioButton);
    int clicks = 0;
    box->events().onClick = [&clicks] { ++clicks; };
    auto& headlessBox = static_cast<THeadlessCheck&>(*box);
    auto& headlessRadio = static_cast<THeadlessCheck&>(*radio);
    headlessBox.userClick();
    EXPECT_TRUE(box->checked());
    headlessBox.userClick();
    EXPECT_FALSE(box->checked());
    EXPECT_EQ(clicks, 2);
    headlessRadio.userClick();
    headlessRadio.userClick();
    EXPECT_TRUE(radio->checked());
    radio->setEnabled(false);
    radio->setChecked(false);
    headlessRadio.userClick();
    EXPECT_FALSE(radio->checked());
}

TEST(HeadlessControls, ListsSelectSinglyOrManyAndCombosStaySingle)
{
    THeadlessControlFactory factory;
    auto list = factory.createListBox();
    for (auto text : {u"one", u"two", u"three"})
        list->addItem(text);
    list->setItemIndex(1);
    list->setItemIndex(2);
    EXPECT_FALSE(list->selected(1));
    EXPECT_TRUE(list->selected(2));

    list->setSelectionMode(TSelectionMode::Multiple);
    list->setSelected(0, true);
    EXPECT_TRUE(list->selected(0));
    EXPECT_TRUE(list->selected(2));
    auto& headless = static_cast<THeadlessList&>(*list);
    int changes = 0;
    list->events().onChange = [&changes] { ++changes; };
    headless.userSelect(2);
    EXPECT_FALSE(list->selected(2));
    EXPECT_EQ(changes, 1);
    list->setItemIndex(-1);
    EXPECT_FALSE(list->selected(0));
    EXPECT_EQ(list->item(7), u"");
    list->setTopIndex(9);
    EXPECT_EQ(list->topIndex(), 2);

    auto combo = factory.createComboBox();
    combo->addItem(u"a");
    combo->addItem(u"b");
    combo->setSelectionMode(TSelectionMode::Multiple);
    combo->setSelected(0, true);
    combo->setSelected(1, true);
    EXPECT_FALSE(combo->selected(0));
    EXPECT_EQ(combo->itemIndex(), 1);
    combo->clearItems();
    EXPECT_EQ(combo->itemIndex(), -1);
}

TEST(HeadlessControls, MemoWrapsAtItsWidthUnlessWrapIsOff)
{
    THeadlessControlFactory factory;
    auto memo = factory.createMemo();
    memo->setFont({"Courier New", 10, 0, 1}); // unit width 5
    memo->setBounds({0, 0, 54, 40});          // (54 - 4) / 5 = 10 columns
    memo->setText(u"the quick brown fox\r\njumps\nover");
    EXPECT_EQ(memo->displayedLines(),
              (std::vector<std::u16string>{u"the quick ", u"brown fox", u"jumps", u"over"}));
    memo->setText(u"abcdefghijklmnop");
    EXPECT_EQ(memo->displayedLines(), (std::vector<std::u16string>{u"abcdefghij", u"klmnop"}));
    memo->setWrapMode(TWrapMode::Off);
    EXPECT_EQ(memo->displayedLines(), (std::vector<std::u16string>{u"abcdefghijklmnop"}));
}

TEST(HeadlessControls, TimersFireOnlyWhileEnabledAndAlive)
{
    THeadlessControlFactory factory;
    auto first = factory.createTimer();
    auto second = factory.createTimer();
    int ticks = 0;
    first->onTimer = [&ticks] { ++ticks; };
    second->onTimer = [&] {
        ++ticks;
        first.reset(); // a handler may destroy another timer
    };
    EXPECT_EQ(factory.tickTimers(), 0);
    first->setEnabled(true);
    second->setEnabled(true);
    EXPECT_EQ(factory.tickTimers(), 2);
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(factory.tickTimers(), 1);
    EXPECT_EQ(ticks, 3);
}
