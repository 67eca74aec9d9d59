#include "tools/help_pages.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/message_of.h"
#include "tests/support/temp_dir.h"

using namespace qz::tools;
using testsupport::messageOf;

namespace {

SourceFile source(std::vector<Entry> entries) { return {"help.txt", std::move(entries)}; }

std::vector<Entry> fivePages() {
    std::vector<Entry> e;
    for (const char* t : {"软件介绍", "备考指南", "考试大纲", "答题技巧", "常见问题"}) {
        e.push_back({"page", t, 1});
        e.push_back({"html", std::string("<p>") + t + "</p>", 2});
    }
    return e;
}

}  // namespace

TEST(HelpPages, AreFiveDocumentsDeclaringTheirCharset) {
    const std::vector<HelpPage> pages = readHelpPages(source(fivePages()));
    ASSERT_EQ(pages.size(), 5u);
    const std::vector<std::string> lines = helpPageLines(pages[3]);
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"),
              lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "<p>答题技巧</p>"), lines.end());
    EXPECT_EQ(lines.back(), "</html>");
}

TEST(HelpPages, RefuseWhatThePagesCannotHold) {
    struct Case {
        std::vector<Entry> entries;
        std::string message;
    };
    std::vector<Entry> gbkOnly = fivePages();
    gbkOnly[1].value = "<p>朱镕基</p>";  // 镕 is GBK's, not GB2312's
    std::vector<Entry> euro = fivePages();
    euro[3].value = "<p>€</p>";
    std::vector<Entry> four = fivePages();
    four.resize(8);
    std::vector<Entry> early = fivePages();
    early.insert(early.begin(), Entry{"html", "<p>x</p>", 1});
    std::vector<Entry> unknown = fivePages();
    unknown.push_back({"link", "x", 9});
    const std::vector<Case> cases{
        {gbkOnly, "GB2312 cannot hold"}, {euro, "GB2312 cannot hold"}, {four, "4 pages"},
        {early, "before the first page"}, {unknown, "unknown key"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const std::string m = messageOf<SourceError>([&] { readHelpPages(source(c.entries)); });
        EXPECT_NE(m.find(c.message), std::string::npos) << m;
    }
}
