// The desktop's input methods against fake Fcitx5 and IBus services on a private bus: the
// order and names listed, the cap, the switch sent, foreign ids ignored, a hung service left.
#include <gtest/gtest.h>

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QDir>
#include <QFile>
#include <QMutex>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QVariantMap>
#include <QWidget>
#include <QWindow>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "host/qt/bus_probe.h"
#include "host/qt/input_methods.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"

// The structures the services answer with, as they put them on the bus.
struct FcitxFullItem {  // (sssssssbsa{sv})
    QString unique, name, nativeName, icon, label, language, addon;
    bool configurable = false;
    QString layout;
    QVariantMap properties;
};
struct FcitxAvailable {  // (ssssssb)
    QString unique, name, nativeName, icon, label, language;
    bool configurable = false;
};
struct FcitxMember {  // (ss)
    QString unique, layout;
};
Q_DECLARE_METATYPE(FcitxFullItem)
Q_DECLARE_METATYPE(FcitxAvailable)
Q_DECLARE_METATYPE(FcitxMember)

QDBusArgument& operator<<(QDBusArgument& a, const FcitxFullItem& i) {
    a.beginStructure();
    a << i.unique << i.name << i.nativeName << i.icon << i.label << i.language << i.addon << i.configurable << i.layout
      << i.properties;
    a.endStructure();
    return a;
}
const QDBusArgument& operator>>(const QDBusArgument& a, FcitxFullItem& i) {
    a.beginStructure();
    a >> i.unique >> i.name >> i.nativeName >> i.icon >> i.label >> i.language >> i.addon >> i.configurable >>
        i.layout >> i.properties;
    a.endStructure();
    return a;
}
QDBusArgument& operator<<(QDBusArgument& a, const FcitxAvailable& i) {
    a.beginStructure();
    a << i.unique << i.name << i.nativeName << i.icon << i.label << i.language << i.configurable;
    a.endStructure();
    return a;
}
const QDBusArgument& operator>>(const QDBusArgument& a, FcitxAvailable& i) {
    a.beginStructure();
    a >> i.unique >> i.name >> i.nativeName >> i.icon >> i.label >> i.language >> i.configurable;
    a.endStructure();
    return a;
}
QDBusArgument& operator<<(QDBusArgument& a, const FcitxMember& i) {
    a.beginStructure();
    a << i.unique << i.layout;
    a.endStructure();
    return a;
}
const QDBusArgument& operator>>(const QDBusArgument& a, FcitxMember& i) {
    a.beginStructure();
    a >> i.unique >> i.layout;
    a.endStructure();
    return a;
}

namespace {

using platform::KeyboardLayout;
using Layouts = std::vector<KeyboardLayout>;

// nullopt: the service never answers.
using Handler = std::function<std::optional<QVariantList>(const QVariantList& args)>;

// One object of a fake service. It answers on its own thread, as a real service answers while
// the caller blocks.
class FakeObject : public QDBusVirtualObject {
public:
    std::map<QString, Handler> methods;

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        {
            QMutexLocker lock(&mutex_);
            calls_.push_back({message.member(), message.arguments()});
        }
        const auto m = methods.find(message.member());
        if (m == methods.end()) {
            connection.send(message.createErrorReply(QDBusError::UnknownMethod, message.member()));
            return true;
        }
        if (std::optional<QVariantList> reply = m->second(message.arguments()))
            connection.send(message.createReply(*reply));
        return true;
    }

    // The arguments of every call of the method so far.
    std::vector<QVariantList> callsOf(const QString& method) {
        QMutexLocker lock(&mutex_);
        std::vector<QVariantList> out;
        for (const auto& [name, args] : calls_)
            if (name == method) out.push_back(args);
        return out;
    }

private:
    QMutex mutex_;
    std::vector<std::pair<QString, QVariantList>> calls_;
};

struct FakeItem {
    QString unique, name, addon;
};

// A bus that takes connections and never says a word; or, mute after the greeting, one that
// accepts the authentication and then never answers the Hello call.
class SilentBus {
public:
    enum class Kind { Silent, MuteAfterGreeting, SilentTcp };

    explicit SilentBus(Kind kind) {
        if (kind == Kind::SilentTcp) {
            listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
            sockaddr_in in{};
            in.sin_family = AF_INET;
            in.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            socklen_t len = sizeof in;
            if (::bind(listener_, reinterpret_cast<sockaddr*>(&in), len) != 0 || ::listen(listener_, 8) != 0 ||
                ::getsockname(listener_, reinterpret_cast<sockaddr*>(&in), &len) != 0)
                throw std::runtime_error("no loopback listener");
            address_ = QString("tcp:host=127.0.0.1,port=%1").arg(ntohs(in.sin_port));
            return;
        }
        const std::string path = dir_.file("bus");
        listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un un{};
        un.sun_family = AF_UNIX;
        std::snprintf(un.sun_path, sizeof un.sun_path, "%s", path.c_str());
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&un), sizeof un) != 0 || ::listen(listener_, 8) != 0)
            throw std::runtime_error("no socket at " + path);
        address_ = QString::fromStdString("unix:path=" + path);
        if (kind == Kind::MuteAfterGreeting) greeter_ = std::thread([this] { greet(); });
    }
    ~SilentBus() {
        stop_ = true;
        if (greeter_.joinable()) greeter_.join();
        for (int fd : accepted_) ::close(fd);
        ::close(listener_);
    }
    SilentBus(const SilentBus&) = delete;
    SilentBus& operator=(const SilentBus&) = delete;

    const QString& address() const { return address_; }

private:
    void greet() {
        while (!stop_) {
            pollfd p{listener_, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0) continue;
            const int fd = ::accept(listener_, nullptr, nullptr);
            if (fd < 0) continue;
            accepted_.push_back(fd);
            std::string in;
            char buf[256];
            while (!stop_ && in.find("\r\n") == std::string::npos) {
                pollfd q{fd, POLLIN, 0};
                if (::poll(&q, 1, 20) <= 0) continue;
                const ssize_t n = ::read(fd, buf, sizeof buf);
                if (n <= 0) break;
                in.append(buf, static_cast<std::size_t>(n));
            }
            const std::string ok = "OK 0123456789abcdef0123456789abcdef\r\n";
            if (::send(fd, ok.data(), ok.size(), MSG_NOSIGNAL) < 0) continue;
        }
    }

    testsupport::TempDir dir_;
    int listener_ = -1;
    QString address_;
    std::atomic<bool> stop_{false};
    std::vector<int> accepted_;  // held open, unanswered
    std::thread greeter_;
};

class InputMethodsTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable("dbus-daemon").isEmpty()) GTEST_SKIP() << "no dbus-daemon";
        qDBusRegisterMetaType<FcitxFullItem>();
        qDBusRegisterMetaType<QList<FcitxFullItem>>();
        qDBusRegisterMetaType<FcitxAvailable>();
        qDBusRegisterMetaType<QList<FcitxAvailable>>();
        qDBusRegisterMetaType<FcitxMember>();
        qDBusRegisterMetaType<QList<FcitxMember>>();

        daemon_.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
        ASSERT_TRUE(daemon_.waitForStarted(5000));
        while (!daemon_.canReadLine()) ASSERT_TRUE(daemon_.waitForReadyRead(5000)) << "dbus-daemon gave no address";
        address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
        static int fixtures = 0;
        serviceName_ = "service-" + QString::number(++fixtures);
        service_ = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address_, serviceName_));
        ASSERT_TRUE(service_->isConnected());
        thread_.start();
    }

    void TearDown() override {
        for (const auto& path : paths_) service_->unregisterObject(path);
        paths_.clear();
        thread_.quit();
        thread_.wait();
        objects_.clear();
        if (service_) {
            service_.reset();
            QDBusConnection::disconnectFromBus(serviceName_);
        }
        if (daemon_.state() != QProcess::NotRunning) {
            daemon_.kill();
            daemon_.waitForFinished(5000);
        }
    }

    FakeObject& serve(const QString& busName, const QString& path) {
        objects_.push_back(std::make_unique<FakeObject>());
        FakeObject& o = *objects_.back();
        o.moveToThread(&thread_);
        EXPECT_TRUE(service_->registerService(busName));
        EXPECT_TRUE(service_->registerVirtualObject(path, &o));
        paths_.push_back(path);
        return o;
    }

    // A Fcitx5 whose current group holds the items; an older one answers the group and the names
    // in separate calls, and only the entries' names tell the keyboard addon's.
    FakeObject& fcitx(const std::vector<FakeItem>& items, bool older = false) {
        FakeObject& o = serve("org.fcitx.Fcitx5", "/controller");
        if (!older) {
            o.methods["FullInputMethodGroupInfo"] = [items](const QVariantList&) -> std::optional<QVariantList> {
                QList<FcitxFullItem> full;
                for (const FakeItem& i : items) full.push_back({i.unique, i.name, "", "icon", "", "zh", i.addon, true, "", {}});
                return QVariantList{QString("Default"), items.front().unique, QString("us"), QVariantMap(),
                                    QVariant::fromValue(full)};
            };
            return o;
        }
        o.methods["CurrentInputMethodGroup"] = [](const QVariantList&) -> std::optional<QVariantList> {
            return QVariantList{QString("Default")};
        };
        o.methods["InputMethodGroupInfo"] = [items](const QVariantList& args) -> std::optional<QVariantList> {
            QList<FcitxMember> members;
            if (args.value(0).toString() == "Default")
                for (const FakeItem& i : items) members.push_back({i.unique, ""});
            return QVariantList{QString("Default"), QVariant::fromValue(members)};
        };
        o.methods["AvailableInputMethods"] = [items](const QVariantList&) -> std::optional<QVariantList> {
            QList<FcitxAvailable> all{{"wubi", "五笔", "", "", "", "zh", true}};
            for (auto it = items.rbegin(); it != items.rend(); ++it)
                all.push_back({it->unique, it->name, "", "", "", "zh", true});
            return QVariantList{QVariant::fromValue(all)};
        };
        return o;
    }

    // An IBus that knows the engines and their long names.
    FakeObject& ibus(const std::vector<std::pair<QString, QString>>& engines) {
        FakeObject& o = serve("org.freedesktop.IBus", "/org/freedesktop/IBus");
        o.methods["GetEnginesByNames"] = [engines](const QVariantList& args) -> std::optional<QVariantList> {
            const QStringList asked = args.value(0).toStringList();
            QDBusArgument all;
            all.beginArray(QMetaType::fromType<QDBusVariant>());
            // The daemon answers in its own order, not the one asked.
            for (auto it = engines.rbegin(); it != engines.rend(); ++it) {
                if (!asked.contains(it->first)) continue;
                QDBusArgument desc;
                desc.beginStructure();
                desc << QString("IBusEngineDesc") << QVariantMap() << it->first << it->second << QString("about")
                     << QString("zh") << QString("GPL") << QString("someone") << QString("icon") << QString("us")
                     << 0u;
                desc.endStructure();
                all << QDBusVariant(QVariant::fromValue(desc));
            }
            all.endArray();
            return QVariantList{QVariant::fromValue(all)};
        };
        return o;
    }

    static QStringList printing(const QString& gvariant) { return {"printf", "%s\\n", gvariant}; }

    qthost::InputMethods backend(std::optional<QString> ibusAddress = QString(), QStringList gsettings = {"false"},
                                 bool waitForFocus = false) {
        qthost::InputMethods::Sources s;
        s.sessionAddress = address_;
        s.ibusAddress = std::move(ibusAddress);
        s.gsettings = std::move(gsettings);
        s.x11 = false;
        s.fcitx5WaitsForFocus = waitForFocus;
        return qthost::InputMethods(std::move(s));
    }

    // A switch is sent without waiting, so the fake may see it a moment later.
    static std::vector<QVariantList> awaitCalls(FakeObject& o, const QString& method, std::size_t count) {
        QElapsedTimer t;
        t.start();
        std::vector<QVariantList> calls = o.callsOf(method);
        while (calls.size() < count && t.elapsed() < 3000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            QThread::msleep(10);
            calls = o.callsOf(method);
        }
        return calls;
    }

    QString address_;

private:
    QProcess daemon_;
    QString serviceName_;
    std::unique_ptr<QDBusConnection> service_;
    QThread thread_;
    std::vector<std::unique_ptr<FakeObject>> objects_;
    std::vector<QString> paths_;
};

std::vector<FakeItem> sampleGroup() {
    return {{"keyboard-us", "Keyboard - English (US)", "keyboard"},
            {"pinyin", "拼音", "pinyin"},
            {"keyboard-de", "Keyboard - German", "keyboard"},
            {"chewing", "Chewing", "chewing"}};
}

const Layouts kSampleListed{
    {"fcitx5:keyboard-us", ""}, {"fcitx5:pinyin", "拼音"}, {"fcitx5:keyboard-de", ""}, {"fcitx5:chewing", "Chewing"}};

void expectLayouts(const Layouts& got, const Layouts& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t k = 0; k < want.size(); ++k) {
        EXPECT_EQ(got[k].id, want[k].id) << k;
        EXPECT_EQ(got[k].description, want[k].description) << k;
    }
}

// The group's order and names come out the same whichever way the release answers them.
class Fcitx5Releases : public InputMethodsTest, public ::testing::WithParamInterface<bool> {};

TEST_P(Fcitx5Releases, ListTheCurrentGroupInOrderWithKeyboardsPlainAndTheRestNamed) {
    fcitx(sampleGroup(), GetParam());
    auto im = backend();
    expectLayouts(im.list(), kSampleListed);
}

TEST_P(Fcitx5Releases, KeepTheFirstSixteen) {
    std::vector<FakeItem> items;
    for (int k = 1; k <= 20; ++k) items.push_back({QString("im%1").arg(k), QString("输入法%1").arg(k), "table"});
    fcitx(items, GetParam());
    auto im = backend();
    const Layouts got = im.list();
    ASSERT_EQ(got.size(), 16u);
    EXPECT_EQ(got.front().id, "fcitx5:im1");
    EXPECT_EQ(got.back().id, "fcitx5:im16");
    EXPECT_EQ(got.back().description, "输入法16");
}

INSTANTIATE_TEST_SUITE_P(InputMethods, Fcitx5Releases, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& p) { return p.param ? "Older" : "Current"; });

// Only an id of the last listing reaches the service, and as the name it lists.
TEST_F(InputMethodsTest, Fcitx5SwitchesToAListedNameOnlyOnce) {
    FakeObject& f = fcitx(sampleGroup());
    auto im = backend();
    im.activate("fcitx5:chewing");  // nothing listed yet
    im.list();
    for (const char* foreign : {"ibus:chewing", "xkb:0", "fcitx5:wubi", "chewing", "", "fcitx5:"})
        im.activate(foreign);
    im.activate("fcitx5:chewing");
    const auto calls = awaitCalls(f, "SetCurrentIM", 1);
    QThread::msleep(100);
    ASSERT_EQ(f.callsOf("SetCurrentIM").size(), 1u);
    EXPECT_EQ(calls.front().value(0).toString(), "chewing");
}

// Fcitx5 switches whatever window it last saw focused: never a menu, nor nothing of ours.
TEST_F(InputMethodsTest, Fcitx5SwitchWaitsForAWindowOfOursToHoldTheFocus) {
    FakeObject& f = fcitx(sampleGroup());
    auto im = backend(QString(), {"false"}, true);
    im.list();
    const auto pump = [](int ms) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    };
    pump(100);
    ASSERT_EQ(QGuiApplication::focusWindow(), nullptr);
    im.activate("fcitx5:chewing");
    pump(400);
    EXPECT_TRUE(f.callsOf("SetCurrentIM").empty()) << "sent with nothing focused";

    QWidget menu(nullptr, Qt::Popup);
    menu.resize(50, 50);
    menu.show();
    pump(400);
    if (QGuiApplication::focusWindow()) {
        EXPECT_EQ(QGuiApplication::focusWindow()->type(), Qt::Popup);
    }
    EXPECT_TRUE(f.callsOf("SetCurrentIM").empty()) << "sent to a menu";
    menu.close();

    QWidget window;
    window.resize(100, 100);
    window.show();
    window.activateWindow();
    const auto calls = awaitCalls(f, "SetCurrentIM", 1);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls.front().value(0).toString(), "chewing");
}

TEST_F(InputMethodsTest, IbusListsItsPreloadedEnginesWithLongNamesAndXkbPlain) {
    FakeObject& b = ibus({{"xkb:us::eng", "English (US)"}, {"libpinyin", "智能拼音"}, {"anthy", "Anthy"}});
    auto im = backend(address_, printing("['xkb:us::eng', 'libpinyin', 'xkb:de::ger', 'anthy']"));
    expectLayouts(im.list(), {{"ibus:xkb:us::eng", ""},
                              {"ibus:libpinyin", "智能拼音"},
                              {"ibus:xkb:de::ger", ""},
                              {"ibus:anthy", "Anthy"}});

    for (const char* foreign : {"fcitx5:libpinyin", "xkb:1", "ibus:rime", "libpinyin"}) im.activate(foreign);
    im.activate("ibus:libpinyin");
    const auto calls = awaitCalls(b, "SetGlobalEngine", 1);
    QThread::msleep(100);
    ASSERT_EQ(b.callsOf("SetGlobalEngine").size(), 1u);
    EXPECT_EQ(calls.front().value(0).toString(), "libpinyin");
}

TEST_F(InputMethodsTest, IbusKeepsTheFirstSixteen) {
    std::vector<std::pair<QString, QString>> engines;
    QString preload = "[";
    for (int k = 1; k <= 20; ++k) {
        engines.push_back({QString("e%1").arg(k), QString("引擎%1").arg(k)});
        preload += QString("%1'e%2'").arg(k > 1 ? ", " : "").arg(k);
    }
    FakeObject& b = ibus(engines);
    auto im = backend(address_, printing(preload + "]"));
    const Layouts got = im.list();
    ASSERT_EQ(got.size(), 16u);
    EXPECT_EQ(got.back().id, "ibus:e16");
    EXPECT_EQ(got.back().description, "引擎16");
    // Only what is kept is asked for.
    ASSERT_EQ(b.callsOf("GetEnginesByNames").size(), 1u);
    EXPECT_EQ(b.callsOf("GetEnginesByNames").front().value(0).toStringList().size(), 16);
}

TEST_F(InputMethodsTest, Fcitx5IsPreferredToIbus) {
    fcitx(sampleGroup());
    ibus({{"libpinyin", "智能拼音"}});
    auto im = backend(address_, printing("['libpinyin']"));
    expectLayouts(im.list(), kSampleListed);
}

// Whatever part of a service stops answering, the listing gives up after its bound and lists
// nothing, rather than holding the panel.
TEST_F(InputMethodsTest, AHungServiceIsGivenUpAfterASecond) {
    const auto never = [](const QVariantList&) -> std::optional<QVariantList> { return std::nullopt; };
    struct Case {
        const char* name;
        std::function<void()> serveIt;
        bool withIbus;
        QStringList gsettings;
    };
    const std::vector<Case> cases{
        {"fcitx5 group", [&] { fcitx(sampleGroup()).methods["FullInputMethodGroupInfo"] = never; }, false, {}},
        {"older fcitx5 names", [&] { fcitx(sampleGroup(), true).methods["AvailableInputMethods"] = never; }, false, {}},
        {"ibus engines", [&] { ibus({{"libpinyin", "智能拼音"}}).methods["GetEnginesByNames"] = never; }, true,
         printing("['libpinyin']")},
        {"gsettings", [&] { ibus({{"libpinyin", "智能拼音"}}); }, true, {"sleep", "10"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        c.serveIt();
        auto im = backend(c.withIbus ? address_ : QString(), c.gsettings);
        QElapsedTimer t;
        t.start();
        EXPECT_TRUE(im.list().empty());
        EXPECT_GE(t.elapsed(), 900);
        EXPECT_LT(t.elapsed(), 2500);
    }
}

// A bus that takes the connection and never answers counts as absent once the listing's
// second is spent, the session bus as well as IBus's own; the listing ends within it in all.
TEST_F(InputMethodsTest, ABusThatNeverAnswersIsAbsentAfterASecond) {
    SilentBus silent(SilentBus::Kind::Silent);
    SilentBus mute(SilentBus::Kind::MuteAfterGreeting);
    struct Case {
        const char* name;
        std::optional<QString> sessionEnvironment;  // unset: the test's own bus, given directly
        QString ibus;
    };
    const std::vector<Case> cases{
        {"ibus silent", std::nullopt, silent.address()},
        {"ibus mute after the greeting", std::nullopt, mute.address()},
        {"session silent", silent.address(), QString()},
        {"session mute after the greeting", mute.address(), QString()},
        {"both", silent.address(), mute.address()},
    };
    testsupport::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // gsettings runs only once IBus is there.
        const std::string marker = dir.file("asked");
        qthost::InputMethods::Sources s;
        if (!c.sessionEnvironment) s.sessionAddress = address_;
        s.ibusAddress = c.ibus;
        s.gsettings = {"touch", QString::fromStdString(marker)};
        s.x11 = false;
        s.fcitx5WaitsForFocus = false;
        testsupport::ScopedEnv env("DBUS_SESSION_BUS_ADDRESS",
                                   c.sessionEnvironment ? c.sessionEnvironment->toUtf8().constData() : nullptr);
        qthost::InputMethods im(std::move(s));
        QElapsedTimer t;
        t.start();
        EXPECT_TRUE(im.list().empty());
        EXPECT_GE(t.elapsed(), 900) << "the silent bus was not asked";
        EXPECT_LT(t.elapsed(), 1500);
        EXPECT_FALSE(QFile::exists(QString::fromStdString(marker))) << "an IBus that does not answer is not there";
    }
}

// The probe takes the first entry of an address that connects, as a client does, and gives up
// at its deadline.
TEST_F(InputMethodsTest, TheBusProbeTakesTheFirstEntryThatConnects) {
    SilentBus silent(SilentBus::Kind::Silent);
    SilentBus tcp(SilentBus::Kind::SilentTcp);
    struct Case {
        QString address;
        bool answers;
    };
    const std::vector<Case> cases{
        {address_, true},
        {"unix:path=/nonexistent/bus;" + address_, true},
        {"unix:abstract=qz-nobody-listens;" + address_, true},
        {silent.address() + ";" + address_, false},
        {tcp.address(), false},
        {"unixexec:path=/bin/true", false},
        {"unix:path=%zz", false},
        {"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address.toStdString());
        QElapsedTimer t;
        t.start();
        EXPECT_EQ(qthost::busAnswers(c.address.toStdString(), std::chrono::steady_clock::now() + std::chrono::milliseconds(300)),
                  c.answers);
        EXPECT_LT(t.elapsed(), 800);
    }
}

TEST(InputMethodsNames, GVariantStringArrays) {
    struct Case {
        const char* text;
        QStringList want;
    };
    for (const Case& c : std::vector<Case>{{"@as []", {}},
                                           {"['xkb:us::eng', 'libpinyin']\n", {"xkb:us::eng", "libpinyin"}},
                                           {R"(['it\'s', "say \"hi\""])", {"it's", "say \"hi\""}}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(qthost::parseGVariantStrings(c.text), c.want);
    }
}

TEST(InputMethodsNames, IbusBusFileNamedForTheDisplay) {
    struct Case {
        const char* display;
        const char* want;
    };
    for (const Case& c : std::vector<Case>{{":0", "m-unix-0"},
                                           {":1.0", "m-unix-1"},
                                           {"box:12.1", "m-box-12"},
                                           {"", "m-unix-0"}}) {
        SCOPED_TRACE(c.display);
        EXPECT_EQ(qthost::ibusBusFileName("m", c.display), c.want);
    }
}

// IBus clients find the daemon through its bus file unless told the address.
TEST(InputMethodsNames, IbusAddressFromTheBusFileOrTheEnvironment) {
    QString machineId;
    for (const char* path : {"/var/lib/dbus/machine-id", "/etc/machine-id"}) {
        QFile f(path);
        if (machineId.isEmpty() && f.open(QIODevice::ReadOnly)) machineId = QString::fromLatin1(f.readAll()).trimmed();
    }
    if (machineId.isEmpty()) GTEST_SKIP() << "no machine id";
    testsupport::TempDir dir;
    const QString folder = QString::fromStdString(dir.path()) + "/ibus/bus";
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile bus(folder + "/" + machineId + "-unix-7");
    ASSERT_TRUE(bus.open(QIODevice::WriteOnly));
    bus.write("# written by ibus-daemon\nIBUS_ADDRESS=unix:abstract=/tmp/ibus-x,guid=42\nIBUS_DAEMON_PID=1\n");
    bus.close();
    testsupport::ScopedEnv config("XDG_CONFIG_HOME", dir.path().c_str());
    testsupport::ScopedEnv display("DISPLAY", ":7.0");
    {
        testsupport::ScopedEnv none("IBUS_ADDRESS", nullptr);
        EXPECT_EQ(qthost::InputMethods::ibusAddressFromEnvironment(), "unix:abstract=/tmp/ibus-x,guid=42");
    }
    testsupport::ScopedEnv given("IBUS_ADDRESS", "unix:path=/run/given");
    EXPECT_EQ(qthost::InputMethods::ibusAddressFromEnvironment(), "unix:path=/run/given");
}

}  // namespace
