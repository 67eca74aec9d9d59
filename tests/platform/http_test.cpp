#include "platform/http.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>

#include "tests/support/loopback_server.h"
#include "tests/support/temp_dir.h"

using namespace platform;
using testsupport::LoopbackHttpServer;
using testsupport::namesIn;
using testsupport::readFileBytes;
using testsupport::TempDir;
using testsupport::writeFileBytes;
using Clock = std::chrono::steady_clock;

namespace {
// Polls the way the program does; true when the request completed within ms.
bool finishes(HttpRequest& r, int ms) {
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (r.readyState() != 4) {
        if (Clock::now() > end) return false;
        r.wait(20);
    }
    return true;
}
}  // namespace

TEST(PercentEncode, Cases) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {{"", ""},
                 {"AZaz09-._~", "AZaz09-._~"},
                 {"a b&c#d", "a%20b%26c%23d"},
                 {"x\r\ny", "x%0D%0Ay"},
                 {"中", "%E4%B8%AD"},
                 {"/?=+%", "%2F%3F%3D%2B%25"},
                 {"\xFF", "%FF"}};
    for (const auto& c : cases) EXPECT_EQ(percentEncode(c.in), c.out) << c.in;
}

class Http : public testing::Test {
protected:
    // A proxy from the environment would take the loopback requests elsewhere.
    Http() {
        for (const char* v : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
            unsetenv(v);
    }
    LoopbackHttpServer server;
    CurlHttpClient client;
};

TEST_F(Http, BodyKeptVerbatimWithRawTarget) {
    const std::string body = "第一\r\nsecond\r\n\r\n\0end";
    server.setReply("/ver.asp", LoopbackHttpServer::Answer(body));
    const std::string query = "/ver.asp?pronm=" + percentEncode("考试 a&b\r\n");
    auto r = client.get(server.url(query), -1);
    ASSERT_TRUE(finishes(*r, 5000));
    EXPECT_FALSE(r->failed());
    EXPECT_EQ(r->httpStatus(), 200);
    EXPECT_EQ(r->responseBody(), body);
    EXPECT_EQ(server.targets(), std::vector<std::string>{query});
}

TEST_F(Http, ErrorStatusStillGivesBody) {
    server.setReply(LoopbackHttpServer::Answer("oops\r\n", 500));
    auto r = client.get(server.url("/any"), -1);
    ASSERT_TRUE(finishes(*r, 5000));
    EXPECT_FALSE(r->failed());
    EXPECT_EQ(r->httpStatus(), 500);
    EXPECT_EQ(r->responseBody(), "oops\r\n");
}

TEST_F(Http, HangingServerNeverCompletes) {
    server.setReply(LoopbackHttpServer::Hang());
    auto r = client.get(server.url("/hang"), -1);
    const auto start = Clock::now();
    while (Clock::now() - start < std::chrono::milliseconds(300)) {
        EXPECT_LT(r->readyState(), 4);
        r->wait(20);
    }
    EXPECT_FALSE(r->failed());
    EXPECT_TRUE(server.waitForRequests(1, 1000));
    r.reset();  // destroying an open transfer is safe
}

TEST_F(Http, SlowAnswerArrives) {
    server.setReply(LoopbackHttpServer::Slow(150, "late"));
    auto r = client.get(server.url("/slow"), -1);
    EXPECT_EQ(r->readyState(), 1);
    ASSERT_TRUE(finishes(*r, 5000));
    EXPECT_EQ(r->responseBody(), "late");
}

TEST_F(Http, TransportFailures) {
    const auto start = Clock::now();
    auto refused = client.get(LoopbackHttpServer::refusedUrl("/x"), -1);
    ASSERT_TRUE(finishes(*refused, 2000));
    EXPECT_TRUE(refused->failed());
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));

    server.setReply(LoopbackHttpServer::Fail());
    auto dropped = client.get(server.url("/drop"), -1);
    ASSERT_TRUE(finishes(*dropped, 5000));
    EXPECT_TRUE(dropped->failed());

    auto notHttp = client.get("file:///etc/passwd", -1);
    ASSERT_TRUE(finishes(*notHttp, 2000));
    EXPECT_TRUE(notHttp->failed());
    EXPECT_EQ(notHttp->responseBody(), "");
}

TEST_F(Http, Download) {
    TempDir dir;
    const auto target = dir.file("update.zip");
    const std::string payload(100000, 'z');
    server.setReply("/ok", LoopbackHttpServer::Answer(payload));
    server.setReply("/missing", LoopbackHttpServer::Answer("no", 404));
    server.setReply("/cut", LoopbackHttpServer::Cut("half", 100));
    server.setReply("/moved", LoopbackHttpServer::Redirect("/ok", "moved"));
    server.setReply("/empty", LoopbackHttpServer::Answer("", 204));

    auto ok = client.download(server.url("/ok"), target, 100000);
    ASSERT_TRUE(finishes(*ok, 5000));
    EXPECT_FALSE(ok->failed());
    EXPECT_EQ(readFileBytes(target), payload);

    writeFileBytes(target, "old version");
    struct Case {
        const char* path;
        std::int64_t bound;
    } failing[] = {{"/ok", 99999}, {"/ok", 0}, {"/missing", 1000}, {"/cut", -1}, {"/moved", -1}, {"/empty", -1}};
    for (const auto& c : failing) {
        auto r = client.download(server.url(c.path), target, c.bound);
        ASSERT_TRUE(finishes(*r, 5000));
        EXPECT_TRUE(r->failed()) << c.path << " " << c.bound;
        EXPECT_EQ(readFileBytes(target), "old version");
        EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"update.zip"});
    }

    auto unbounded = client.download(server.url("/ok"), target, -1);
    ASSERT_TRUE(finishes(*unbounded, 5000));
    EXPECT_FALSE(unbounded->failed());
    EXPECT_EQ(readFileBytes(target), payload);

    auto noFolder = client.download(server.url("/ok"), dir.file("none/x.zip"), -1);
    EXPECT_EQ(noFolder->readyState(), 4);
    EXPECT_TRUE(noFolder->failed());
}

TEST_F(Http, DroppedDownloadRemovesPart) {
    TempDir dir;
    const auto target = dir.file("f.bin");
    writeFileBytes(target, "old");
    server.setReply(LoopbackHttpServer::Hang());
    {
        auto r = client.download(server.url("/hang"), target, 1000);
        r->wait(50);
        EXPECT_LT(r->readyState(), 4);
    }
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"f.bin"});
    EXPECT_EQ(readFileBytes(target), "old");
}

// A body is bounded whether or not its size is announced, and one without end stops at the bound
// instead of running to the caller's time limit; one of exactly the bound is whole.
TEST_F(Http, BodiesStopAtTheirBound) {
    constexpr std::int64_t bound = 300000;
    struct Case {
        const char* name;
        LoopbackHttpServer::Reply reply;
        bool ok;
    } cases[] = {
        {"exactly the bound", LoopbackHttpServer::Generated(bound), true},
        {"exactly the bound, unannounced", LoopbackHttpServer::Generated(bound, false), true},
        {"one byte over", LoopbackHttpServer::Generated(bound + 1), false},
        {"one byte over, unannounced", LoopbackHttpServer::Generated(bound + 1, false), false},
        {"endless", LoopbackHttpServer::Endless(), false},
    };
    const std::string whole = LoopbackHttpServer::generatedBody(bound);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        server.setReply("/body", c.reply);
        auto got = client.get(server.url("/body"), bound);
        ASSERT_TRUE(finishes(*got, 5000));
        EXPECT_EQ(got->failed(), !c.ok);
        if (c.ok) {
            EXPECT_EQ(got->responseBody(), whole);
        }

        TempDir dir;
        const auto target = dir.file("ad.mxy");
        writeFileBytes(target, "old ad");
        auto r = client.download(server.url("/body"), target, bound);
        ASSERT_TRUE(finishes(*r, 5000));
        EXPECT_EQ(r->failed(), !c.ok);
        EXPECT_EQ(readFileBytes(target), c.ok ? whole : "old ad");
        EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"ad.mxy"});
    }
}

// The temporary file is named as only the downloader names files, and the name gives its target.
TEST_F(Http, TheDownloadsTemporaryName) {
    TempDir dir;
    const auto target = dir.file("notes.part");
    server.setReply(LoopbackHttpServer::Hang());
    auto r = client.download(server.url("/hang"), target, -1);
    r->wait(20);
    const std::vector<std::string> names = namesIn(dir.path());
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].rfind(".notes.part.part.", 0), 0u) << names[0];
    EXPECT_EQ(downloadPartTarget(names[0]), "notes.part");
    r.reset();
    EXPECT_TRUE(namesIn(dir.path()).empty());

    struct Case {
        const char* leaf;
        const char* target;
    } cases[] = {{".a.mxy.part.Ab12Cd", "a.mxy"}, {".a.mxy.Ab12Cd", ""}, {"a.mxy.part", ""},
                 {".a.mxy.part.Ab12C", ""},       {"..part.Ab12Cd", ""}, {".x.PART.Ab12Cd", ""},
                 {"lesson-notes.part", ""}};
    for (const Case& c : cases) EXPECT_EQ(downloadPartTarget(c.leaf), c.target) << c.leaf;
}
