#pragma once
// A tiny HTTP/1.1 server on 127.0.0.1 for tests: canned replies per path, every request recorded.
// One thread accepts, one thread serves each connection; all of them stop in the destructor.
#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

class LoopbackHttpServer {
public:
    struct Reply {
        enum class Kind { Answer, Slow, Hang, Fail, Generated } kind = Kind::Answer;
        int status = 200;
        std::string body;
        int delayMs = 0;
        std::string headers;            // extra header lines, each ending in CR LF
        long claimedLength = -1;        // Content-Length sent in place of the body's size
        long long generatedBytes = -1;  // Generated: the body's size, negative for no end
        bool announced = true;          // Generated: a Content-Length; else the close ends the body
    };
    static Reply Answer(std::string body, int status = 200);
    static Reply Slow(int delayMs, std::string body);  // status 200 after the delay
    static Reply Hang();                               // reads the request, never answers
    static Reply Fail();                               // reads the request, closes without a reply
    static Reply Cut(std::string body, long claimedLength);  // status 200, body shorter than announced
    static Reply Redirect(const std::string& location, std::string body);  // status 302
    // Status 200 and generatedBody(size), with or without a Content-Length; made as it is sent,
    // so a body of hundreds of MiB costs no memory.
    static Reply Generated(long long size, bool announced = true);
    static Reply Endless();  // status 200, no Content-Length, bytes until the client goes away
    static std::string generatedBody(long long size);

    struct Request {
        std::string method;
        std::string target;  // raw, query included: "/up/error/submit.asp?pronm=..."
        std::string headers;
        std::string body;
    };

    LoopbackHttpServer();  // answers 404 "not found" until told otherwise
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    void setReply(Reply reply);                           // for every path without its own
    void setReply(const std::string& path, Reply reply);  // path without query, or an exact target
    // One reply per request in turn; the last one answers every request after it.
    void setReplies(const std::string& path, std::vector<Reply> inTurn);
    std::string url(std::string path) const;              // "http://127.0.0.1:PORT" + path
    int port() const { return port_; }

    std::vector<std::string> targets() const;
    std::vector<Request> requests() const;
    // True once at least n requests have been recorded; false when timeoutMs passes first.
    bool waitForRequests(std::size_t n, int timeoutMs) const;

    // A URL on a loopback port where nothing listens: connecting is refused at once.
    static std::string refusedUrl(const std::string& path = "/");

private:
    void acceptLoop();
    void serve(int fd);
    Reply replyFor(const std::string& target);
    bool sleepUnlessStopped(int ms) const;

    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    mutable std::condition_variable recorded_;
    Reply default_;
    std::map<std::string, Reply> replies_;
    std::map<std::string, std::vector<Reply>> turns_;
    std::vector<Request> requests_;
    std::vector<std::thread> connections_;  // touched by the accept thread, then the destructor
    std::thread acceptThread_;
};

}  // namespace testsupport
