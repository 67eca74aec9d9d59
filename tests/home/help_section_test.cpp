// The help section's pages and the information labels' links and about box.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/FrmAbout.h"
#include "tests/home/home_fixture.h"

namespace hometest {
namespace {

struct PageSeen {
    std::string title;
    std::string location;
    int navigations = 0;
    std::vector<bool> enabled;  // buttons 32 to 36
};

PageSeen seen(qz::FrmFengmian& home) {
    PageSeen s{home.LlbHelpCAP.caption(), home.WebHelpCON.locationUrl(), home.WebHelpCON.navigationCount(), {}};
    for (int i = 32; i <= 36; ++i) s.enabled.push_back(home.ClickBotn(i).Enabled());
    return s;
}

void expectPage(const PageSeen& s, const std::string& dataDir, int page, const std::string& title) {
    EXPECT_EQ(s.title, title);
    EXPECT_EQ(s.location, dataDir + "l3818" + std::to_string(page) + ".mxy");
    for (int i = 0; i < 5; ++i) EXPECT_EQ(s.enabled[static_cast<std::size_t>(i)], i != page) << 32 + i;
}

TEST_F(HomeScreen, HelpPagesFollowTheirButtonsAndSurviveLeavingTheSection) {
    qz::FrmFengmian& home = start();
    const std::string dir = g().DataDir;
    const PageSeen built = seen(home);
    expectPage(built, dir, 0, "软件介绍");
    EXPECT_FALSE(home.PicHelp.visible());

    // The help button lies under the panels: it opens from the cover.
    click(11);
    EXPECT_TRUE(home.PicTOP.visible());
    EXPECT_TRUE(home.PicHelp.visible());
    EXPECT_TRUE(home.PicAd.visible());
    for (forms::PictureBox* p : {&home.PicTiKu, &home.PicKaCH, &home.PicBiaoZhi, &home.PicCuoTi})
        EXPECT_FALSE(p->visible()) << p->name();
    EXPECT_EQ(seen(home).navigations, built.navigations) << "opening the section keeps its page";

    const std::vector<std::string> titles{"软件介绍", "备考指南", "考试大纲", "答题技巧", "常见问题"};
    for (int page : {4, 1, 2, 0, 3}) {
        SCOPED_TRACE(page);
        const int before = home.WebHelpCON.navigationCount();
        click(32 + page);
        const PageSeen s = seen(home);
        expectPage(s, dir, page, titles[static_cast<std::size_t>(page)]);
        EXPECT_EQ(s.navigations, before + 1);
    }

    // Another section and back to the cover, then help again: the same page, not reloaded.
    const int shown = home.WebHelpCON.navigationCount();
    clicks({15, 4, 15, 11});
    EXPECT_TRUE(home.PicHelp.visible());
    expectPage(seen(home), dir, 3, "答题技巧");
    EXPECT_EQ(home.WebHelpCON.navigationCount(), shown);

    // Only a build goes back to the first page, and it navigates even to the page shown.
    h->host.then([&] { home.FengMainCsh(); });
    h->host.runUntilIdle();
    expectPage(seen(home), dir, 0, "软件介绍");
    EXPECT_EQ(home.WebHelpCON.navigationCount(), shown + 1);
    h->host.then([&] { home.FengMainCsh(); });
    h->host.runUntilIdle();
    EXPECT_EQ(home.WebHelpCON.navigationCount(), shown + 2);
    EXPECT_EQ(home.WebHelpCON.locationUrl(), dir + "l38180.mxy");
    EXPECT_TRUE(h->reports().empty());
}

TEST_F(HomeScreen, TheHelpPanelIsLaidOutOverTheUnitPanelsDecoration) {
    qz::FrmFengmian& home = start();
    EXPECT_EQ(home.PicHelpLeft.left(), home.PicUnitLeft.left());
    EXPECT_EQ(home.PicHelpLeft.top(), home.PicUnitLeft.top());
    EXPECT_EQ(home.PicHelpLeft.picture(), home.PicUnitLeft.picture());
    EXPECT_NE(home.PicHelpLeft.picture(), nullptr);
    for (int i = 32; i <= 36; ++i)
        EXPECT_EQ(home.ClickBotn(i).rect(), (forms::Rect{15, 15 + (i - 32) * 750, 2700, 750})) << i;
    EXPECT_EQ(home.WebHelpCON.rect(), (forms::Rect{2880, 870, 9090, 5880}));
    EXPECT_EQ(home.LlbHelpCAP.left(), 6960);
    EXPECT_EQ(home.LlbHelpCAP.top(), 240);
    EXPECT_EQ(home.LlbHelpCAP.alignment(), 2);
    EXPECT_DOUBLE_EQ(home.LlbHelpCAP.font().size, 20);
}

// What one click on an information label did: the links asked for and the about box.
struct InfoClick {
    std::vector<std::string> links;
    bool aboutShown = false;
    std::string aboutVersion;
};

class InfoLabels : public HomeScreen {
protected:
    InfoClick clickInfo(int index) {
        InfoClick out;
        h->shell.calls.clear();
        h->host.click(home().LblInfo(index));
        h->host.then([&] {
            forms::Form* top = h->p().rt.topModal();
            if (top && top->name() == "FrmAbout") {
                auto& about = static_cast<qz::FrmAbout&>(*top);
                out.aboutShown = true;
                out.aboutVersion = about.Label1(0).caption();
                h->host.click(about.LblClick(1));
            }
        });
        h->host.runUntilIdle();
        for (const auto& c : h->shell.calls) out.links.push_back(c.target);
        return out;
    }
};

TEST_F(InfoLabels, EachLabelOpensItsLinkOrTheAboutBox) {
    for (int k = 1; k <= 4; ++k) setInfo(k, "https://entry" + std::to_string(k) + ".example/");
    struct Case {
        const char* entry26;
        int index;
        std::string link;  // empty: none
        bool about;
    };
    const std::string site = "https://www.quorvane.invalid/", second = "https://learn.quorvane.invalid/";
    const std::string chat1 = "tencent://message/?uin=800100201&Site=quorvane&Menu=yes";
    const std::string chat2 = "tencent://message/?uin=800100202&Site=quorvane&Menu=yes";
    const std::vector<Case> cases{
        {"2015", 0, "", true},  {"2015", 21, "", true},
        {"2015", 1, "https://entry1.example/", false}, {"2015", 17, "https://entry1.example/", false},
        {"2015", 18, "https://entry2.example/", false},
        {"2015", 3, "https://entry3.example/", false}, {"2015", 20, "https://entry3.example/", false},
        {"2015", 19, "https://entry4.example/", false}, {"2015", 2, "", false},
        {" 2099 ", 0, "", true}, {"20991231", 21, "", true},
        {" 2099 ", 1, site, false}, {"20991231", 17, site, false}, {" 2099 ", 18, second, false},
        {" 2099 ", 3, chat1, false}, {" 2099 ", 20, chat1, false}, {" 2099 ", 19, chat2, false},
        {" 2099 ", 2, "", false},
        {"12099", 1, "https://entry1.example/", false},
    };
    std::string lastEntry;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.entry26) + " / " + std::to_string(c.index));
        if (c.entry26 != lastEntry) {
            setInfo(26, c.entry26);
            start();
            lastEntry = c.entry26;
        }
        const InfoClick got = clickInfo(c.index);
        EXPECT_EQ(got.links, c.link.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.link});
        EXPECT_EQ(got.aboutShown, c.about);
        if (c.about) {
            EXPECT_EQ(got.aboutVersion, home().LblInfo(0).caption());
        }
        EXPECT_FALSE(h->isLoaded("FrmAbout"));
    }
    EXPECT_TRUE(h->reports().empty());
}

}  // namespace
}  // namespace hometest
