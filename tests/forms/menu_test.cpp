// Menu arrays loaded at run time under a parent menu, and what a popup offers.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/forms/form_fixture.h"
#include "tests/support/popup_captions.h"

namespace formstest {
namespace {

using testsupport::captionsOf;

Names captionsOf(const forms::MenuItem& m) {
    Names out;
    for (const auto* it : m.items) out.push_back(it->caption);
    return out;
}

// A parent menu as a window designs it: a fixed item, the array's element 0, a fixed item.
struct ArrayUnderParent {
    ArrayUnderParent() {
        first.caption = "first";
        last.caption = "last";
        parent.items.push_back(&first);
        load(0);
        parent.items.push_back(&last);
    }
    void load(int k) { arr.load(k).caption = "m" + std::to_string(k); }
    // "+3" loads element 3, "-3" unloads it.
    void run(const std::string& ops) {
        std::istringstream in(ops);
        std::string op;
        while (in >> op) {
            int k = std::stoi(op.substr(1));
            if (op[0] == '+') load(k);
            else arr.unload(k);
        }
    }
    forms::MenuItem parent{"mnuPopup"};
    forms::MenuItem first{"mnuFirst"};
    forms::MenuItem last{"mnuLast"};
    forms::MenuArray arr{"mnuItem", &parent};
};

struct OrderCase {
    const char* what;
    const char* ops;
    Names expected;
};

class MenuArrayOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(MenuArrayOrder, ElementsTakeTheirPlaceInTheParentByIndex) {
    ArrayUnderParent m;
    m.run(GetParam().ops);
    EXPECT_EQ(captionsOf(m.parent), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Menus, MenuArrayOrder,
    ::testing::Values(
        OrderCase{"design_time_element_only", "", {"first", "m0", "last"}},
        OrderCase{"loaded_in_order", "+1 +2 +3", {"first", "m0", "m1", "m2", "m3", "last"}},
        OrderCase{"loaded_out_of_order", "+3 +1 +2", {"first", "m0", "m1", "m2", "m3", "last"}},
        OrderCase{"gap_below_goes_after_the_highest_loaded_below", "+1 +5 +3", {"first", "m0", "m1", "m3", "m5", "last"}},
        OrderCase{"nothing_below_goes_before_the_lowest_above", "+4 -0 +2", {"first", "m2", "m4", "last"}},
        OrderCase{"empty_array_appends_to_the_parent", "-0 +2", {"first", "last", "m2"}},
        OrderCase{"unload_leaves_the_parent", "+1 +2 +3 -2 -0", {"first", "m1", "m3", "last"}},
        OrderCase{"reload_returns_to_its_place", "+1 +2 +3 -2 +2", {"first", "m0", "m1", "m2", "m3", "last"}},
        OrderCase{"unloading_a_missing_element_changes_nothing", "-7", {"first", "m0", "last"}}),
    CaseName());

TEST(MenuArrayParent, DestroyingTheArrayTakesItsElementsOutOfTheParent) {
    forms::MenuItem parent{"mnuPopup"};
    forms::MenuItem keep{"mnuKeep"};
    parent.items.push_back(&keep);
    {
        forms::MenuArray arr{"mnuItem", &parent};
        arr.load(0);
        arr.load(1);
        EXPECT_EQ(parent.items.size(), 3u);
    }
    EXPECT_EQ(parent.items, (std::vector<forms::MenuItem*>{&keep}));
}

class MenuPopup : public FormsTest {
protected:
    // Shows the popup from a right click on the label, choosing `choice`.
    void popupFrom(forms::MenuItem& root, const std::string& choice) {
        MainForm& f = shownMain();
        f.on["lbl.MouseUp"] = [&f, &root] { f.popupMenu(root); };
        host.choosePopup(choice);
        host.click(f.lbl, forms::buttons::Right);
        host.runUntilIdle();
    }
};

TEST_F(MenuPopup, ARequestBuiltAfterLoadsAndUnloadsShowsTheLivingElements) {
    ArrayUnderParent m;
    m.arr.onClick = [this](int k) { rec.add("mnuItem.Click " + std::to_string(k)); };
    m.run("+1 +2 +3 -2 -0");
    popupFrom(m.parent, "m3");
    ASSERT_EQ(host.popups.size(), 1u);
    EXPECT_EQ(captionsOf(host.popups[0].items), (Names{"first", "m1", "m3", "last"}));
    EXPECT_EQ(rec.count("mnuItem.Click 3"), 1);
}

TEST_F(MenuPopup, ASubmenuWithEveryItemHiddenIsNotOffered) {
    forms::MenuItem root{"mnuPopup"};
    forms::MenuItem hiddenSub{"mnuHiddenSub"}, shownSub{"mnuShownSub"}, leaf{"mnuLeaf"};
    hiddenSub.caption = "hiddenSub";
    shownSub.caption = "shownSub";
    leaf.caption = "leaf";
    forms::MenuArray hiddenKids{"mnuA", &hiddenSub}, shownKids{"mnuB", &shownSub};
    for (int k = 0; k < 2; ++k) {
        hiddenKids.load(k).visible = false;
        shownKids.load(k).caption = "b" + std::to_string(k);
    }
    shownKids(0).visible = false;
    shownKids.onClick = [this](int k) { rec.add("mnuB.Click " + std::to_string(k)); };
    root.items = {&hiddenSub, &shownSub, &leaf};
    popupFrom(root, "b1");
    ASSERT_EQ(host.popups.size(), 1u);
    const auto& items = host.popups[0].items;
    EXPECT_EQ(captionsOf(items), (Names{"shownSub", "leaf"}));
    EXPECT_EQ(captionsOf(items[0].children), (Names{"b1"}));
    EXPECT_EQ(items[0].id, -1);
    EXPECT_GE(items[1].id, 0);
    EXPECT_EQ(rec.count("mnuB.Click 1"), 1);
}

}  // namespace
}  // namespace formstest
