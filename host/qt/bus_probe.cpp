#include "host/qt/bus_probe.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

namespace qthost {

namespace {

using Clock = std::chrono::steady_clock;

struct Endpoint {
    sockaddr_storage addr{};
    socklen_t length = 0;
};

class Socket {
public:
    explicit Socket(int fd) : fd_(fd) {}
    ~Socket() {
        if (fd_ >= 0) ::close(fd_);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A value of an address with its %XX escapes undone; nothing when an escape is broken.
std::optional<std::string> unescape(std::string_view v) {
    std::string out;
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (v[i] != '%') {
            out += v[i];
            continue;
        }
        const int hi = i + 1 < v.size() ? hexDigit(v[i + 1]) : -1;
        const int lo = i + 2 < v.size() ? hexDigit(v[i + 2]) : -1;
        if (hi < 0 || lo < 0) return std::nullopt;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return out;
}

std::optional<Endpoint> unixEndpoint(const std::string& name, bool abstract) {
    Endpoint e;
    auto* un = reinterpret_cast<sockaddr_un*>(&e.addr);
    un->sun_family = AF_UNIX;
    const std::size_t offset = abstract ? 1 : 0;
    if (name.empty() || name.size() + offset >= sizeof un->sun_path) return std::nullopt;
    std::memcpy(un->sun_path + offset, name.data(), name.size());
    e.length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + name.size() + (abstract ? 0 : 1));
    return e;
}

std::vector<Endpoint> tcpEndpoints(const std::string& host, const std::string& port) {
    std::vector<Endpoint> out;
    char* end = nullptr;
    const unsigned long number = std::strtoul(port.c_str(), &end, 10);
    if (port.empty() || *end != '\0' || number == 0 || number > 65535) return out;
    const auto portBits = htons(static_cast<std::uint16_t>(number));
    // Only hosts that need no name service: a lookup could wait longer than any bound.
    const std::vector<std::string> hosts =
        host == "localhost" ? std::vector<std::string>{"127.0.0.1", "::1"} : std::vector<std::string>{host};
    for (const std::string& h : hosts) {
        Endpoint e;
        auto* v4 = reinterpret_cast<sockaddr_in*>(&e.addr);
        auto* v6 = reinterpret_cast<sockaddr_in6*>(&e.addr);
        if (::inet_pton(AF_INET, h.c_str(), &v4->sin_addr) == 1) {
            v4->sin_family = AF_INET;
            v4->sin_port = portBits;
            e.length = sizeof(sockaddr_in);
        } else if (::inet_pton(AF_INET6, h.c_str(), &v6->sin6_addr) == 1) {
            v6->sin6_family = AF_INET6;
            v6->sin6_port = portBits;
            e.length = sizeof(sockaddr_in6);
        } else {
            continue;
        }
        out.push_back(e);
    }
    return out;
}

// The places an address names, in its order, as a client would try them.
std::vector<Endpoint> endpointsOf(std::string_view address) {
    std::vector<Endpoint> out;
    while (!address.empty()) {
        const std::size_t semicolon = address.find(';');
        std::string_view entry = address.substr(0, semicolon);
        address = semicolon == std::string_view::npos ? std::string_view() : address.substr(semicolon + 1);
        const std::size_t colon = entry.find(':');
        if (colon == std::string_view::npos) continue;
        const std::string_view transport = entry.substr(0, colon);
        std::string path, abstract, runtime, host, port;
        bool broken = false;
        for (std::string_view rest = entry.substr(colon + 1); !rest.empty();) {
            const std::size_t comma = rest.find(',');
            const std::string_view pair = rest.substr(0, comma);
            rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
            const std::size_t eq = pair.find('=');
            if (eq == std::string_view::npos) continue;
            const std::string_view key = pair.substr(0, eq);
            const std::optional<std::string> value = unescape(pair.substr(eq + 1));
            if (!value)
                broken = true;
            else if (key == "path")
                path = *value;
            else if (key == "abstract")
                abstract = *value;
            else if (key == "runtime")
                runtime = *value;
            else if (key == "host")
                host = *value;
            else if (key == "port")
                port = *value;
        }
        if (broken) continue;
        if (transport == "unix") {
            std::optional<Endpoint> e;
            const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
            if (!path.empty())
                e = unixEndpoint(path, false);
            else if (!abstract.empty())
                e = unixEndpoint(abstract, true);
            else if (runtime == "yes" && runtimeDir && *runtimeDir)
                e = unixEndpoint(std::string(runtimeDir) + "/bus", false);
            if (e) out.push_back(*e);
        } else if (transport == "tcp") {
            for (const Endpoint& e : tcpEndpoints(host.empty() ? "localhost" : host, port)) out.push_back(e);
        }
    }
    return out;
}

int msLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left <= 0 ? 0 : static_cast<int>(std::min<long long>(left, 60000));
}

// Waits for the socket to be ready for `events` until the deadline.
bool await(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        const int ms = msLeft(deadline);
        if (ms == 0) return false;
        pollfd p{fd, events, 0};
        const int r = ::poll(&p, 1, ms);
        if (r < 0 && errno == EINTR) continue;
        return r > 0 && (p.revents & events);
    }
}

bool sendAll(int fd, std::string_view data, Clock::time_point deadline) {
    while (!data.empty()) {
        const ssize_t n = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (n > 0) {
            data.remove_prefix(static_cast<std::size_t>(n));
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!await(fd, POLLOUT, deadline)) return false;
        } else {
            return false;
        }
    }
    return true;
}

// Reads until `done` says the bytes so far are enough, or at most `limit` of them.
template <class Done>
std::optional<std::string> receive(int fd, std::size_t limit, Clock::time_point deadline, Done&& done) {
    std::string in;
    char buf[256];
    while (!done(in)) {
        if (in.size() >= limit || !await(fd, POLLIN, deadline)) return std::nullopt;
        const ssize_t n = ::recv(fd, buf, std::min(sizeof buf, limit - in.size()), 0);
        if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
        if (n <= 0) return std::nullopt;
        in.append(buf, static_cast<std::size_t>(n));
    }
    return in;
}

void put32(std::string& s, std::uint32_t v) {
    for (int k = 0; k < 4; ++k) s += static_cast<char>((v >> (8 * k)) & 0xff);
}

// The Hello call every client makes first on a bus, little-endian, serial 1, no body.
std::string helloCall() {
    std::string fields;
    const auto pad = [&](std::size_t align) {
        while ((16 + fields.size()) % align) fields += '\0';
    };
    const auto field = [&](char code, char type, std::string_view value) {
        pad(8);
        fields += code;
        fields += '\1';
        fields += type;
        fields += '\0';
        pad(4);
        put32(fields, static_cast<std::uint32_t>(value.size()));
        fields += value;
        fields += '\0';
    };
    field(1, 'o', "/org/freedesktop/DBus");  // path
    field(6, 's', "org.freedesktop.DBus");   // destination
    field(2, 's', "org.freedesktop.DBus");   // interface
    field(3, 's', "Hello");                  // member
    std::string m{'l', '\1', '\0', '\1'};    // little-endian method call, protocol 1
    put32(m, 0);                             // body length
    put32(m, 1);                             // serial
    put32(m, static_cast<std::uint32_t>(fields.size()));
    m += fields;
    while (m.size() % 8) m += '\0';
    return m;
}

bool greets(int fd, Clock::time_point deadline) {
    std::string uid;
    for (char c : std::to_string(::getuid())) {
        static const char hex[] = "0123456789abcdef";
        uid += hex[(c >> 4) & 0xf];
        uid += hex[c & 0xf];
    }
    if (!sendAll(fd, std::string(1, '\0') + "AUTH EXTERNAL " + uid + "\r\n", deadline)) return false;
    const auto line = receive(fd, 512, deadline, [](const std::string& in) { return in.find("\r\n") != std::string::npos; });
    if (!line) return false;
    // A server that wants another mechanism still answers; the client's own connect settles it.
    if (line->rfind("REJECTED", 0) == 0) return true;
    if (line->rfind("OK ", 0) != 0) return false;
    if (!sendAll(fd, "BEGIN\r\n" + helloCall(), deadline)) return false;
    const auto header = receive(fd, 16, deadline, [](const std::string& in) { return in.size() >= 16; });
    // Any message back: the reply, or an error, in either byte order.
    return header && ((*header)[0] == 'l' || (*header)[0] == 'B') && (*header)[1] >= 1 && (*header)[1] <= 4 &&
           (*header)[3] == 1;
}

}  // namespace

bool busAnswers(const std::string& address, Clock::time_point deadline) {
    for (const Endpoint& e : endpointsOf(address)) {
        Socket s(::socket(e.addr.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
        if (s.get() < 0) continue;
        if (::connect(s.get(), reinterpret_cast<const sockaddr*>(&e.addr), e.length) != 0) {
            if (errno != EINPROGRESS && errno != EINTR) {
                // Refused or not there: a client goes on to the next entry. A full backlog is a
                // listener that does not accept.
                if (errno == EAGAIN) return false;
                continue;
            }
            if (!await(s.get(), POLLOUT, deadline)) return false;
            int err = 0;
            socklen_t len = sizeof err;
            if (::getsockopt(s.get(), SOL_SOCKET, SO_ERROR, &err, &len) != 0 || err != 0) continue;
        }
        return greets(s.get(), deadline);
    }
    return false;
}

}  // namespace qthost
