// The desktop's input methods: Fcitx5, else IBus, else the X11 keyboard groups, looked for
// afresh at each listing so a service started or stopped during the run is seen.
#pragma once

#include <QDBusConnection>
#include <QString>
#include <QStringList>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/keyboard.h"

namespace qthost {

class InputMethods : public platform::KeyboardLayouts {
public:
    struct Sources {
        // Unset: DBUS_SESSION_BUS_ADDRESS, else the user's bus in XDG_RUNTIME_DIR. Empty: none.
        std::optional<QString> sessionAddress;
        // Unset: IBUS_ADDRESS, else the bus file IBus writes for this display. Empty: no IBus.
        std::optional<QString> ibusAddress;
        // Prints IBus's engine list as GVariant text.
        QStringList gsettings{"gsettings", "get", "org.freedesktop.ibus.general", "preload-engines"};
        bool x11 = true;
        // Fcitx5 switches the window it last saw focused: the switch waits for one of ours,
        // not a popup, so it lands neither on a closing menu nor on another program.
        bool fcitx5WaitsForFocus = true;
    };

    // A listing waits this long at most in all, for the buses' connections, their answers and
    // gsettings: a bus that does not answer in time counts as absent, a hung service lists
    // nothing.
    static constexpr int kListingTimeoutMs = 1000;
    // The panel keeps no more than this.
    static constexpr std::size_t kMaxLayouts = 16;

    // The desktop's own session bus, IBus and display.
    InputMethods();
    explicit InputMethods(Sources sources);
    ~InputMethods() override;
    InputMethods(const InputMethods&) = delete;
    InputMethods& operator=(const InputMethods&) = delete;

    std::vector<platform::KeyboardLayout> list() override;
    // Only an id of the last listing switches: it names the backend that was there then.
    void activate(const std::string& id) override;

    // IBus's own address: IBUS_ADDRESS, else the IBUS_ADDRESS line of its bus file.
    static QString ibusAddressFromEnvironment();
    // The session bus's: DBUS_SESSION_BUS_ADDRESS, else the user's bus socket when there is one.
    static QString sessionAddressFromEnvironment();

private:
    using Deadline = std::chrono::steady_clock::time_point;
    // A bus connection under its own name, kept while its address stays the same.
    struct Bus {
        QString name;
        QString connectedTo;
    };

    std::vector<platform::KeyboardLayout> listFcitx5(QDBusConnection& session, Deadline deadline);
    std::optional<std::vector<platform::KeyboardLayout>> listIbus(Deadline deadline);
    std::vector<platform::KeyboardLayout> listXkb();
    std::optional<QDBusConnection> connection(Bus& bus, const QString& address, Deadline deadline);
    std::optional<QDBusConnection> sessionConnection(Deadline deadline);
    std::optional<QDBusConnection> ibusConnection(Deadline deadline);
    void sendFcitx5Switch();

    Sources src_;
    Bus session_;
    Bus ibus_;
    std::vector<platform::KeyboardLayout> listed_;
    std::optional<QString> pendingFcitx5_;
    bool settled_ = false;
    std::unique_ptr<QObject> context_;  // owns the focus watch and the timer
    QTimer* settle_;
};

// The strings of a GVariant text array such as "['xkb:us::eng', 'libpinyin']" or "@as []".
QStringList parseGVariantStrings(const QString& text);

// The bus file's name under ibus/bus/ for a machine and an X display such as "host:1.0".
QString ibusBusFileName(const QString& machineId, const QString& display);

}  // namespace qthost
