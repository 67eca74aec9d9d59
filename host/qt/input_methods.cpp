#include "host/qt/input_methods.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QProcess>
#include <QTimer>
#include <QWindow>
#include <QVariantMap>
#include <QtGui/qguiapplication_platform.h>
#include <algorithm>
#include <chrono>
#include <string_view>
#include <utility>

#include "host/qt/bus_probe.h"

namespace qthost {

namespace {

constexpr char kFcitxService[] = "org.fcitx.Fcitx5";
constexpr char kFcitxPath[] = "/controller";
constexpr char kFcitxInterface[] = "org.fcitx.Fcitx.Controller1";
constexpr char kFcitxGroupSignature[] = "sssa{sv}a(sssssssbsa{sv})";
constexpr char kFcitxKeyboardAddon[] = "keyboard";
constexpr char kFcitxKeyboardPrefix[] = "keyboard-";

constexpr char kIbusService[] = "org.freedesktop.IBus";
constexpr char kIbusPath[] = "/org/freedesktop/IBus";
constexpr char kIbusInterface[] = "org.freedesktop.IBus";

constexpr char kFcitxPrefix[] = "fcitx5:";
constexpr char kIbusPrefix[] = "ibus:";
constexpr char kXkbPrefix[] = "xkb:";
constexpr int kFocusSettleMs = 100;

// Defined at the end of the file, away from the macros of the X11 headers.
int xkbGroupCount();
void xkbLockGroup(int group);

QDBusMessage fcitxCall(const char* method) {
    return QDBusMessage::createMethodCall(kFcitxService, kFcitxPath, kFcitxInterface, method);
}

using Deadline = std::chrono::steady_clock::time_point;

// What is left of a listing's time, in milliseconds; 0 when it is spent.
int msLeft(Deadline deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return left.count() <= 0 ? 0 : static_cast<int>(std::min<long long>(left.count(), InputMethods::kListingTimeoutMs));
}

// The reply of a call made in the time left, or nothing once it is spent.
QDBusMessage callBefore(QDBusConnection& bus, const QDBusMessage& call, Deadline deadline) {
    const int ms = msLeft(deadline);
    if (ms == 0) return {};
    return bus.call(call, QDBus::Block, ms);
}

// A reply only when it is one and has the expected signature: a stranger's reply is no list.
std::optional<QList<QVariant>> answer(QDBusConnection& bus, const QDBusMessage& call, const char* signature,
                                      Deadline deadline) {
    const QDBusMessage reply = callBefore(bus, call, deadline);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.signature() != QLatin1String(signature))
        return std::nullopt;
    return reply.arguments();
}

bool hasOwner(QDBusConnection& bus, const QString& name, Deadline deadline) {
    QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                       "org.freedesktop.DBus", "NameHasOwner");
    call << name;
    const auto args = answer(bus, call, "b", deadline);
    return args && args->front().toBool();
}

std::string utf8(const QString& s) { return s.toStdString(); }

platform::KeyboardLayout layout(const char* prefix, const QString& name, const QString& description) {
    return {prefix + utf8(name), utf8(description)};
}

QString machineId() {
    for (const char* path : {"/var/lib/dbus/machine-id", "/etc/machine-id"}) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly)) {
            const QString id = QString::fromLatin1(f.readAll()).trimmed();
            if (!id.isEmpty()) return id;
        }
    }
    return {};
}

}  // namespace

QString ibusBusFileName(const QString& machineId, const QString& display) {
    // As IBus names it: the display's host (or "unix") and its number without the screen.
    QString host = "unix";
    QString number = "0";
    if (!display.isEmpty()) {
        const qsizetype colon = display.indexOf(':');
        const QString h = colon < 0 ? display : display.left(colon);
        if (!h.isEmpty()) host = h;
        number = colon < 0 ? QString() : display.mid(colon + 1).section('.', 0, 0);
    }
    return machineId + '-' + host + '-' + number;
}


QStringList parseGVariantStrings(const QString& text) {
    QStringList out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar quote = text[i];
        if (quote != '\'' && quote != '"') continue;
        QString s;
        for (++i; i < text.size() && text[i] != quote; ++i) {
            if (text[i] == '\\' && i + 1 < text.size()) ++i;
            s += text[i];
        }
        out << s;
    }
    return out;
}

QString InputMethods::ibusAddressFromEnvironment() {
    const QString env = qEnvironmentVariable("IBUS_ADDRESS");
    if (!env.isEmpty()) return env;
    const QString id = machineId();
    if (id.isEmpty()) return {};
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty()) config = QDir::homePath() + "/.config";
    QFile f(config + "/ibus/bus/" + ibusBusFileName(id, qEnvironmentVariable("DISPLAY")));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    const QByteArray key = "IBUS_ADDRESS=";
    while (!f.atEnd()) {
        const QByteArray line = f.readLine().trimmed();
        if (line.startsWith(key)) return QString::fromUtf8(line.mid(key.size()));
    }
    return {};
}

QString InputMethods::sessionAddressFromEnvironment() {
    const QString env = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
    if (!env.isEmpty()) return env;
    // Where D-Bus itself looks when no address is given.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty() || !QFileInfo(runtime + "/bus").exists()) return {};
    QString escaped;
    for (const char c : QFile::encodeName(runtime + "/bus")) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           std::string_view("-_/.\\*").find(c) != std::string_view::npos;
        escaped += plain ? QString(QChar(c)) : QString("%%1").arg(static_cast<unsigned char>(c), 2, 16, QChar('0'));
    }
    return "unix:path=" + escaped;
}

InputMethods::InputMethods() : InputMethods(Sources{}) {}

InputMethods::InputMethods(Sources sources)
    : src_(std::move(sources)),
      session_{QString("qz-session-%1").arg(reinterpret_cast<quintptr>(this)), {}},
      ibus_{QString("qz-ibus-%1").arg(reinterpret_cast<quintptr>(this)), {}},
      context_(std::make_unique<QObject>()),
      settle_(new QTimer(context_.get())) {
    settle_->setSingleShot(true);
    settle_->setInterval(kFocusSettleMs);
    QObject::connect(settle_, &QTimer::timeout, context_.get(), [this] {
        settled_ = true;
        sendFcitx5Switch();
    });
    if (qGuiApp)
        QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, context_.get(), [this] { sendFcitx5Switch(); });
}

InputMethods::~InputMethods() {
    for (const Bus* bus : {&session_, &ibus_})
        if (!bus->connectedTo.isEmpty()) QDBusConnection::disconnectFromBus(bus->name);
}

std::vector<platform::KeyboardLayout> InputMethods::list() {
    const Deadline deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kListingTimeoutMs);
    std::optional<QDBusConnection> session = sessionConnection(deadline);
    if (session && hasOwner(*session, kFcitxService, deadline))
        listed_ = listFcitx5(*session, deadline);
    else if (auto ibus = listIbus(deadline))
        listed_ = std::move(*ibus);
    else
        listed_ = listXkb();
    if (listed_.size() > kMaxLayouts) listed_.resize(kMaxLayouts);
    return listed_;
}

std::vector<platform::KeyboardLayout> InputMethods::listFcitx5(QDBusConnection& session, Deadline deadline) {
    std::vector<platform::KeyboardLayout> out;
    QDBusMessage call = fcitxCall("FullInputMethodGroupInfo");
    call << QString();  // the current group
    const QDBusMessage reply = callBefore(session, call, deadline);
    if (reply.type() == QDBusMessage::ReplyMessage && reply.signature() == QLatin1String(kFcitxGroupSignature)) {
        const QDBusArgument items = reply.arguments().at(4).value<QDBusArgument>();
        items.beginArray();
        while (!items.atEnd() && out.size() < kMaxLayouts) {
            QString unique, name, nativeName, icon, label, language, addon, layoutName;
            bool configurable = false;
            QVariantMap properties;
            items.beginStructure();
            items >> unique >> name >> nativeName >> icon >> label >> language >> addon >> configurable >>
                layoutName >> properties;
            items.endStructure();
            const bool keyboard = addon == QLatin1String(kFcitxKeyboardAddon);
            out.push_back(layout(kFcitxPrefix, unique, keyboard ? QString() : (name.isEmpty() ? unique : name)));
        }
        items.endArray();
        return out;
    }
    if (reply.errorName() != QLatin1String("org.freedesktop.DBus.Error.UnknownMethod")) return out;

    // Older releases, without that call, answer the group and the names separately.
    const auto group = answer(session, fcitxCall("CurrentInputMethodGroup"), "s", deadline);
    if (!group) return out;
    QDBusMessage groupCall = fcitxCall("InputMethodGroupInfo");
    groupCall << group->front().toString();
    const auto members = answer(session, groupCall, "sa(ss)", deadline);
    const auto available = answer(session, fcitxCall("AvailableInputMethods"), "a(ssssssb)", deadline);
    if (!members || !available) return out;

    QHash<QString, QString> names;
    const QDBusArgument all = available->at(0).value<QDBusArgument>();
    all.beginArray();
    while (!all.atEnd()) {
        QString unique, name, nativeName, icon, label, language;
        bool configurable = false;
        all.beginStructure();
        all >> unique >> name >> nativeName >> icon >> label >> language >> configurable;
        all.endStructure();
        names.insert(unique, name);
    }
    all.endArray();

    const QDBusArgument entries = members->at(1).value<QDBusArgument>();
    entries.beginArray();
    while (!entries.atEnd() && out.size() < kMaxLayouts) {
        QString unique, layoutName;
        entries.beginStructure();
        entries >> unique >> layoutName;
        entries.endStructure();
        // These releases name the addon of an entry wrongly; the keyboard addon's entries are
        // the ones it names after their layout.
        const bool keyboard = unique.startsWith(QLatin1String(kFcitxKeyboardPrefix));
        const QString name = names.value(unique);
        out.push_back(layout(kFcitxPrefix, unique, keyboard ? QString() : (name.isEmpty() ? unique : name)));
    }
    entries.endArray();
    return out;
}

std::optional<QDBusConnection> InputMethods::connection(Bus& bus, const QString& address, Deadline deadline) {
    if (!bus.connectedTo.isEmpty()) {
        if (address == bus.connectedTo && QDBusConnection(bus.name).isConnected()) return QDBusConnection(bus.name);
        QDBusConnection::disconnectFromBus(bus.name);
        bus.connectedTo.clear();
    }
    // Qt D-Bus connects without any time limit, and serves no other connection meanwhile: the
    // bus must first have answered in the time left, else it counts as absent.
    if (address.isEmpty() || !busAnswers(address.toStdString(), deadline)) return std::nullopt;
    QDBusConnection connected = QDBusConnection::connectToBus(address, bus.name);
    if (!connected.isConnected()) {
        // A failed connection stays registered under its name and would be handed back as it is.
        QDBusConnection::disconnectFromBus(bus.name);
        return std::nullopt;
    }
    bus.connectedTo = address;
    return connected;
}

std::optional<QDBusConnection> InputMethods::sessionConnection(Deadline deadline) {
    return connection(session_, src_.sessionAddress ? *src_.sessionAddress : sessionAddressFromEnvironment(), deadline);
}

std::optional<QDBusConnection> InputMethods::ibusConnection(Deadline deadline) {
    return connection(ibus_, src_.ibusAddress ? *src_.ibusAddress : ibusAddressFromEnvironment(), deadline);
}

std::optional<std::vector<platform::KeyboardLayout>> InputMethods::listIbus(Deadline deadline) {
    std::optional<QDBusConnection> bus = ibusConnection(deadline);
    if (!bus) return std::nullopt;
    std::vector<platform::KeyboardLayout> out;
    if (src_.gsettings.isEmpty()) return out;

    // The daemon's own engine list cannot be read back over the bus; its settings hold it.
    if (msLeft(deadline) == 0) return out;
    QProcess gsettings;
    gsettings.start(src_.gsettings.front(), src_.gsettings.mid(1));
    if (!gsettings.waitForFinished(std::max(1, msLeft(deadline)))) {
        gsettings.kill();
        gsettings.waitForFinished(kListingTimeoutMs);
        return out;
    }
    if (gsettings.exitStatus() != QProcess::NormalExit || gsettings.exitCode() != 0) return out;
    QStringList engines = parseGVariantStrings(QString::fromUtf8(gsettings.readAllStandardOutput()));
    if (engines.size() > static_cast<qsizetype>(kMaxLayouts)) engines.resize(kMaxLayouts);
    if (engines.isEmpty()) return out;

    QDBusMessage call = QDBusMessage::createMethodCall(kIbusService, kIbusPath, kIbusInterface, "GetEnginesByNames");
    call << engines;
    const auto descs = answer(*bus, call, "av", deadline);
    if (!descs) return out;
    QHash<QString, QString> longNames;
    const QDBusArgument all = descs->at(0).value<QDBusArgument>();
    all.beginArray();
    while (!all.atEnd()) {
        QDBusVariant v;
        all >> v;
        const QVariant inner = v.variant();
        if (!inner.canConvert<QDBusArgument>()) continue;
        // An engine description: its type name, attachments, then name and long name.
        const QDBusArgument desc = inner.value<QDBusArgument>();
        if (desc.currentType() != QDBusArgument::StructureType) continue;
        QString type, name, longName;
        QVariantMap attachments;
        desc.beginStructure();
        desc >> type >> attachments >> name >> longName;
        desc.endStructure();
        longNames.insert(name, longName);
    }
    all.endArray();

    for (const QString& engine : engines) {
        const bool plain = engine.startsWith(QLatin1String(kXkbPrefix));
        QString description = plain ? QString() : longNames.value(engine);
        if (!plain && description.isEmpty()) description = engine;
        out.push_back(layout(kIbusPrefix, engine, description));
    }
    return out;
}

std::vector<platform::KeyboardLayout> InputMethods::listXkb() {
    std::vector<platform::KeyboardLayout> out;
    if (!src_.x11) return out;
    const int groups = xkbGroupCount();
    for (int g = 0; g < groups; ++g) out.push_back(layout(kXkbPrefix, QString::number(g), QString()));
    return out;
}

void InputMethods::activate(const std::string& id) {
    const bool listed = std::any_of(listed_.begin(), listed_.end(),
                                    [&](const platform::KeyboardLayout& l) { return l.id == id; });
    if (!listed) return;
    const auto named = [&](const char* prefix) -> std::optional<QString> {
        const std::string p = prefix;
        if (id.compare(0, p.size(), p) != 0) return std::nullopt;
        return QString::fromStdString(id.substr(p.size()));
    };
    if (auto name = named(kFcitxPrefix)) {
        pendingFcitx5_ = *name;
        sendFcitx5Switch();
    } else if (auto engine = named(kIbusPrefix)) {
        const Deadline deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kListingTimeoutMs);
        if (std::optional<QDBusConnection> bus = ibusConnection(deadline)) {
            QDBusMessage call = QDBusMessage::createMethodCall(kIbusService, kIbusPath, kIbusInterface, "SetGlobalEngine");
            call << *engine;
            bus->send(call);
        }
    } else if (auto group = named(kXkbPrefix)) {
        bool ok = false;
        const int g = group->toInt(&ok);
        if (ok) xkbLockGroup(g);
    }
}

namespace {
bool ourWindowFocused() {
    const QWindow* w = QGuiApplication::focusWindow();
    return w && w->type() != Qt::Popup;
}
}  // namespace

void InputMethods::sendFcitx5Switch() {
    if (!pendingFcitx5_) return;
    if (!src_.fcitx5WaitsForFocus || (settled_ && ourWindowFocused())) {
        QDBusMessage call = fcitxCall("SetCurrentIM");
        call << *pendingFcitx5_;
        pendingFcitx5_.reset();
        settled_ = false;
        // The listing that named it made the connection.
        if (!session_.connectedTo.isEmpty()) QDBusConnection(session_.name).send(call);
        return;
    }
    // The input-method module tells Fcitx5 of each new focus on its own connection, and a closing
    // menu hands the focus on more than once: the switch goes once the focus has rested a moment.
    settled_ = false;
    if (ourWindowFocused()) settle_->start();
}

}  // namespace qthost

// ---- X11 keyboard groups; the X11 headers' macros stay below everything else ----

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace qthost {
namespace {

Display* x11Display() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

int xkbGroupCount() {
    Display* dpy = x11Display();
    if (!dpy) return 0;
    XkbDescPtr desc = XkbAllocKeyboard();
    if (!desc) return 0;
    int count = 0;
    if (XkbGetNames(dpy, XkbGroupNamesMask, desc) == Success && desc->names)
        while (count < XkbNumKbdGroups && desc->names->groups[count] != None) ++count;
    XkbFreeKeyboard(desc, 0, True);
    return count;
}

void xkbLockGroup(int group) {
    if (group < 0 || group >= XkbNumKbdGroups) return;
    Display* dpy = x11Display();
    if (!dpy) return;
    XkbLockGroup(dpy, XkbUseCoreKbd, static_cast<unsigned>(group));
    XFlush(dpy);
}

}  // namespace
}  // namespace qthost
