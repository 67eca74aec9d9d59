#include "tests/support/loopback_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <stdexcept>
#include <string_view>

namespace testsupport {
namespace {

constexpr int kTickMs = 10;
constexpr int kReadDeadlineMs = 5000;
constexpr std::size_t kMaxRequest = 1 << 20;

int bindLoopback(int& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) throw std::runtime_error("socket failed");
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        ::close(fd);
        throw std::runtime_error("bind failed");
    }
    port = ntohs(addr.sin_port);
    return fd;
}

const char* reason(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 302:
            return "Found";
        case 404:
            return "Not Found";
        case 500:
            return "Internal Server Error";
        default:
            return "Status";
    }
}

bool sendAll(int fd, const std::string& data) {
    for (std::size_t done = 0; done < data.size();) {
        const ssize_t n = ::send(fd, data.data() + done, data.size() - done, MSG_NOSIGNAL);
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Waits for room in the socket so that a client that stops reading never holds up the stop.
bool sendUnlessStopped(int fd, std::string_view data, const std::atomic<bool>& stop) {
    for (std::size_t done = 0; done < data.size();) {
        pollfd p{fd, POLLOUT, 0};
        if (stop) return false;
        const int ready = ::poll(&p, 1, kTickMs);
        if (ready < 0) return false;
        if (ready == 0) continue;
        const ssize_t n = ::send(fd, data.data() + done, data.size() - done, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// A period that divides the chunk size, so that every chunk sent is the same.
constexpr std::string_view kPattern = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ+/";
constexpr std::size_t kChunk = 1 << 16;
static_assert(kChunk % kPattern.size() == 0);
char generatedByte(long long i) { return kPattern[static_cast<std::size_t>(i) % kPattern.size()]; }

std::size_t contentLength(const std::string& headers) {
    for (std::size_t pos = 0; (pos = headers.find('\n', pos)) != std::string::npos;) {
        ++pos;
        static const std::string key = "content-length:";
        if (headers.size() - pos < key.size()) break;
        bool match = true;
        for (std::size_t i = 0; i < key.size() && match; ++i)
            match = static_cast<char>(std::tolower(static_cast<unsigned char>(headers[pos + i]))) == key[i];
        if (match) return std::stoul(headers.substr(pos + key.size()));
    }
    return 0;
}

}  // namespace

LoopbackHttpServer::Reply LoopbackHttpServer::Answer(std::string body, int status) {
    return {Reply::Kind::Answer, status, std::move(body), 0, {}, -1};
}
LoopbackHttpServer::Reply LoopbackHttpServer::Slow(int delayMs, std::string body) {
    return {Reply::Kind::Slow, 200, std::move(body), delayMs, {}, -1};
}
LoopbackHttpServer::Reply LoopbackHttpServer::Hang() { return {Reply::Kind::Hang, 0, {}, 0, {}, -1}; }
LoopbackHttpServer::Reply LoopbackHttpServer::Fail() { return {Reply::Kind::Fail, 0, {}, 0, {}, -1}; }
LoopbackHttpServer::Reply LoopbackHttpServer::Cut(std::string body, long claimedLength) {
    return {Reply::Kind::Answer, 200, std::move(body), 0, {}, claimedLength};
}
LoopbackHttpServer::Reply LoopbackHttpServer::Redirect(const std::string& location, std::string body) {
    return {Reply::Kind::Answer, 302, std::move(body), 0, "Location: " + location + "\r\n", -1};
}

LoopbackHttpServer::Reply LoopbackHttpServer::Generated(long long size, bool announced) {
    Reply r{Reply::Kind::Generated, 200, {}, 0, {}, -1};
    r.generatedBytes = size;
    r.announced = announced;
    return r;
}
LoopbackHttpServer::Reply LoopbackHttpServer::Endless() { return Generated(-1, false); }

std::string LoopbackHttpServer::generatedBody(long long size) {
    std::string out(static_cast<std::size_t>(size), '\0');
    for (long long i = 0; i < size; ++i) out[static_cast<std::size_t>(i)] = generatedByte(i);
    return out;
}

LoopbackHttpServer::LoopbackHttpServer() : default_(Answer("not found", 404)) {
    listenFd_ = bindLoopback(port_);
    if (::listen(listenFd_, 64) != 0) {
        ::close(listenFd_);
        throw std::runtime_error("listen failed");
    }
    acceptThread_ = std::thread([this] { acceptLoop(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
    stop_ = true;
    acceptThread_.join();
    for (auto& t : connections_) t.join();
    ::close(listenFd_);
}

void LoopbackHttpServer::setReply(Reply reply) {
    std::lock_guard lock(mutex_);
    default_ = std::move(reply);
}

void LoopbackHttpServer::setReply(const std::string& path, Reply reply) {
    std::lock_guard lock(mutex_);
    replies_[path] = std::move(reply);
    turns_.erase(path);
}

void LoopbackHttpServer::setReplies(const std::string& path, std::vector<Reply> inTurn) {
    std::lock_guard lock(mutex_);
    replies_.erase(path);
    turns_[path] = std::move(inTurn);
}

std::string LoopbackHttpServer::url(std::string path) const {
    if (path.empty() || path[0] != '/') path.insert(0, "/");
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> LoopbackHttpServer::targets() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> out;
    for (const auto& r : requests_) out.push_back(r.target);
    return out;
}

std::vector<LoopbackHttpServer::Request> LoopbackHttpServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

bool LoopbackHttpServer::waitForRequests(std::size_t n, int timeoutMs) const {
    std::unique_lock lock(mutex_);
    return recorded_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return requests_.size() >= n; });
}

std::string LoopbackHttpServer::refusedUrl(const std::string& path) {
    // Bound but never listening, and kept for the life of the process so no one else takes the port.
    static int port = [] {
        int p = 0;
        bindLoopback(p);
        return p;
    }();
    return "http://127.0.0.1:" + std::to_string(port) + (path.empty() || path[0] != '/' ? "/" : "") + path;
}

LoopbackHttpServer::Reply LoopbackHttpServer::replyFor(const std::string& target) {
    std::lock_guard lock(mutex_);
    for (const std::string& key : {target, target.substr(0, target.find('?'))}) {
        auto it = turns_.find(key);
        if (it == turns_.end() || it->second.empty()) continue;
        Reply r = it->second.front();
        if (it->second.size() > 1) it->second.erase(it->second.begin());
        return r;
    }
    if (auto it = replies_.find(target); it != replies_.end()) return it->second;
    if (auto it = replies_.find(target.substr(0, target.find('?'))); it != replies_.end()) return it->second;
    return default_;
}

bool LoopbackHttpServer::sleepUnlessStopped(int ms) const {
    for (int waited = 0; waited < ms && !stop_; waited += kTickMs)
        std::this_thread::sleep_for(std::chrono::milliseconds(kTickMs));
    return !stop_;
}

void LoopbackHttpServer::acceptLoop() {
    while (!stop_) {
        pollfd p{listenFd_, POLLIN, 0};
        if (::poll(&p, 1, kTickMs) <= 0) continue;
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd >= 0) connections_.emplace_back([this, fd] { serve(fd); });
    }
}

void LoopbackHttpServer::serve(int fd) {
    std::string data;
    std::size_t headerEnd = std::string::npos;
    std::size_t need = 0;
    char buf[4096];
    for (int waited = 0; waited < kReadDeadlineMs && !stop_ && data.size() < kMaxRequest;) {
        if (headerEnd != std::string::npos && data.size() >= need) break;
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, kTickMs) <= 0) {
            waited += kTickMs;
            continue;
        }
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0) break;
        data.append(buf, static_cast<std::size_t>(n));
        if (headerEnd == std::string::npos && (headerEnd = data.find("\r\n\r\n")) != std::string::npos)
            need = headerEnd + 4 + contentLength(data.substr(0, headerEnd + 2));
    }
    if (headerEnd == std::string::npos) {
        ::close(fd);
        return;
    }
    Request req;
    const std::string line = data.substr(0, data.find("\r\n"));
    const std::size_t sp1 = line.find(' ');
    const std::size_t sp2 = line.find(' ', sp1 + 1);
    req.method = line.substr(0, sp1);
    req.target = sp1 == std::string::npos ? "" : line.substr(sp1 + 1, sp2 - sp1 - 1);
    req.headers = data.substr(line.size() + 2, headerEnd - line.size());
    req.body = data.substr(std::min(data.size(), headerEnd + 4));
    const Reply reply = replyFor(req.target);
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(req);
    }
    recorded_.notify_all();

    switch (reply.kind) {
        case Reply::Kind::Fail:
            break;
        case Reply::Kind::Hang:
            while (sleepUnlessStopped(1000)) {
            }
            break;
        case Reply::Kind::Slow:
        case Reply::Kind::Answer:
            if (reply.kind == Reply::Kind::Answer || sleepUnlessStopped(reply.delayMs)) {
                sendAll(fd, "HTTP/1.1 " + std::to_string(reply.status) + " " + reason(reply.status) +
                                "\r\nContent-Type: text/plain\r\n" + reply.headers + "Content-Length: " +
                                std::to_string(reply.claimedLength >= 0 ? static_cast<std::size_t>(reply.claimedLength)
                                                                        : reply.body.size()) +
                                "\r\nConnection: close\r\n\r\n" + reply.body);
                ::shutdown(fd, SHUT_WR);
            }
            break;
        case Reply::Kind::Generated: {
            const std::string length =
                reply.announced ? "Content-Length: " + std::to_string(reply.generatedBytes) + "\r\n" : "";
            if (!sendUnlessStopped(fd,
                                   "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n" + length +
                                       "Connection: close\r\n\r\n",
                                   stop_))
                break;
            const std::string chunk = generatedBody(static_cast<long long>(kChunk));
            for (long long sent = 0; reply.generatedBytes < 0 || sent < reply.generatedBytes;) {
                long long n = static_cast<long long>(kChunk);
                if (reply.generatedBytes >= 0) n = std::min(n, reply.generatedBytes - sent);
                if (!sendUnlessStopped(fd, std::string_view(chunk).substr(0, static_cast<std::size_t>(n)), stop_))
                    break;
                sent += n;
            }
            ::shutdown(fd, SHUT_WR);
            break;
        }
    }
    ::close(fd);
}

}  // namespace testsupport
