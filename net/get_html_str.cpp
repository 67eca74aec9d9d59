// HTTP GET that keeps the windows alive while it waits.
#include <string>

#include "app/program.h"
#include "platform/legacy_text.h"

namespace qz {

namespace {

// Whole-second boundaries between two readings of the monotonic clock.
std::int64_t secondBoundaries(std::int64_t t0, std::int64_t t1) { return t1 / 1000 - t0 / 1000; }

// The number the request object gives a transport failure.
constexpr int CannotConnect = -2147012867;

}  // namespace

std::string Program::getHtmlStr(const std::string& url, std::int16_t timeout) {
    forms::OnError on = reporting("getHtmlStr");
    return fetchPolled(url, timeout, on);
}

std::string Program::fetchPolled(const std::string& url, std::int16_t timeout, forms::OnError& on) {
    std::unique_ptr<platform::HttpRequest> req;
    if (!on([&] { req = svc.http->get(url, ListMaxBytes); }) || !req) return TimeoutText;
    std::int64_t t0 = rt.now();
    for (;;) {
        int state = 0;
        on([&] { state = req->readyState(); });
        if (state == 4) {
            // A refused connection or an unknown host will never answer, and an answer too large
            // to be a list is none: give up at once.
            if (req->failed()) {
                on([] {
                    throw platform::VbError(CannotConnect, "A connection with the server could not be established");
                });
                return TimeoutText;
            }
            std::string text;
            if (!on([&] { text = platform::trimSpaces(platform::decodeAnsi(req->responseBody())); })) return "";
            return text;
        }
        rt.doEvents();
        if (secondBoundaries(t0, rt.now()) > timeout) return TimeoutText;
        req->wait(10);
        rt.host().letTimePass(10);
    }
}

}  // namespace qz
