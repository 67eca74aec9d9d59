// The update's downloads by what they fetch, on the virtual clock: a body past its kind's size is
// a failed download stopped at that size, not at the time limit; the old file stays as it was and
// nothing is left beside it.
#include "net/download.h"

#include <gtest/gtest.h>


#include "tests/app/program_harness.h"

using testsupport::LoopbackHttpServer;
using testsupport::ProgramFolder;
using testsupport::ProgramHarness;
using testsupport::namesIn;
using testsupport::readFileBytes;
using testsupport::TempDir;
using testsupport::writeFileBytes;

TEST(Download, EachKindIsBoundedByItsSize) {
    using Kind = qz::DownloadKind;
    using R = LoopbackHttpServer;
    constexpr long long ad = qz::AdvertisementMaxBytes, list = qz::ListMaxBytes, file = qz::ListedFileMaxBytes;
    struct Case {
        const char* name;
        Kind kind;
        R::Reply reply;
        long long kept;  // the size of the file accepted; negative: the download fails
    } cases[] = {
        {"endless advertisement", Kind::Advertisement, R::Endless(), -1},
        {"advertisement one byte over", Kind::Advertisement, R::Generated(ad + 1, false), -1},
        {"advertisement at its size", Kind::Advertisement, R::Generated(ad, false), ad},
        {"endless list", Kind::List, R::Endless(), -1},
        {"list one byte over", Kind::List, R::Generated(list + 1, false), -1},
        {"list at its size", Kind::List, R::Generated(list, false), list},
        {"endless listed file", Kind::ListedFile, R::Endless(), -1},
        {"listed file one byte over", Kind::ListedFile, R::Generated(file + 1), -1},
        {"listed file larger than an advertisement", Kind::ListedFile, R::Generated(ad + 1, false), ad + 1},
    };
    ProgramFolder folder;
    ProgramHarness h(folder);
    LoopbackHttpServer site;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string target = dir.file("170100.mxy");
        writeFileBytes(target, "old\r\n");
        site.setReply("/f.rar", c.reply);
        const std::int64_t t0 = h.p().rt.now();
        const bool ok = qz::downloadToFile(h.p(), site.url("/f.rar"), target, c.kind);
        const int limitMs = c.kind == Kind::ListedFile ? h.p().svc.fileDownloadLimitMs : h.p().svc.shortDownloadLimitMs;
        EXPECT_LT(h.p().rt.now() - t0, limitMs);
        EXPECT_EQ(ok, c.kept >= 0);
        if (c.kept >= 0) {
            EXPECT_TRUE(readFileBytes(target) == LoopbackHttpServer::generatedBody(c.kept));
        } else {
            EXPECT_EQ(readFileBytes(target), "old\r\n");
        }
        EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"170100.mxy"});
    }
}
