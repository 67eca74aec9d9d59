#include "platform/http.h"

#include <curl/curl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <mutex>

#include "platform/files.h"
#include "platform/textfile.h"

namespace platform {

std::string percentEncode(std::string_view utf8) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(utf8.size() * 3);
    for (char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
            c == '_' || c == '~') {
            out += ch;
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

std::string downloadPartTarget(std::string_view leaf) {
    const std::string part = replaceTemporaryTarget(leaf);
    const std::size_t n = DownloadPartSuffix.size();
    if (part.size() <= n || std::string_view(part).substr(part.size() - n) != DownloadPartSuffix) return {};
    return part.substr(0, part.size() - n);
}

HttpRequest::~HttpRequest() = default;
HttpClient::~HttpClient() = default;

namespace {

constexpr long kConnectTimeoutMs = 5000;

class CurlRequest : public HttpRequest {
public:
    CurlRequest(const std::string& url, const std::string* target, std::int64_t maxBytes,
                HttpClient::AcceptDownload accept = {})
        : download_(target != nullptr), accept_(std::move(accept)), maxBytes_(maxBytes) {
        if (download_) {
            target_ = *target;
            fd_ = createReplaceTemporary(target_ + std::string(DownloadPartSuffix), part_);
            if (fd_ < 0) {
                finishEarly();
                return;
            }
        }
        multi_ = curl_multi_init();
        easy_ = curl_easy_init();
        if (!multi_ || !easy_) {
            finishEarly();
            return;
        }
        curl_easy_setopt(easy_, CURLOPT_URL, url.c_str());
        curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(easy_, CURLOPT_CONNECTTIMEOUT_MS, kConnectTimeoutMs);
        curl_easy_setopt(easy_, CURLOPT_FOLLOWLOCATION, 0L);
        curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &CurlRequest::onData);
        curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this);
        if (download_) curl_easy_setopt(easy_, CURLOPT_FAILONERROR, 1L);
        // Refuses an announced size at once; a body without one is stopped in onData.
        if (maxBytes_ >= 0) curl_easy_setopt(easy_, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(maxBytes_));
        if (curl_multi_add_handle(multi_, easy_) != CURLM_OK) {
            finishEarly();
            return;
        }
        added_ = true;
        drive();
    }

    ~CurlRequest() override {
        if (added_) curl_multi_remove_handle(multi_, easy_);
        if (easy_) curl_easy_cleanup(easy_);
        if (multi_) curl_multi_cleanup(multi_);
        if (fd_ >= 0) ::close(fd_);
        if (download_ && !(done_ && !failed_)) ::unlink(part_.c_str());
    }

    CurlRequest(const CurlRequest&) = delete;
    CurlRequest& operator=(const CurlRequest&) = delete;

    int readyState() override {
        drive();
        return done_ ? 4 : 1;
    }
    bool failed() const override { return failed_; }
    std::string responseBody() override { return body_; }
    long httpStatus() const override { return status_; }

    void wait(int ms) override {
        if (done_) return;
        curl_multi_poll(multi_, nullptr, 0, ms, nullptr);
        drive();
    }

private:
    static std::size_t onData(char* data, std::size_t size, std::size_t count, void* self) {
        auto* r = static_cast<CurlRequest*>(self);
        const std::size_t n = size * count;
        // Returning short makes curl end the transfer with a write error: nothing more is read.
        if (r->maxBytes_ >= 0 && r->written_ + static_cast<std::int64_t>(n) > r->maxBytes_) return 0;
        if (!r->download_) {
            r->body_.append(data, n);
            r->written_ += static_cast<std::int64_t>(n);
            return n;
        }
        for (std::size_t done = 0; done < n;) {
            const ssize_t w = ::write(r->fd_, data + done, n - done);
            if (w < 0 && errno == EINTR) continue;
            if (w < 0) return 0;  // curl fails the transfer with a write error
            done += static_cast<std::size_t>(w);
        }
        r->written_ += static_cast<std::int64_t>(n);
        return n;
    }

    void drive() {
        if (done_) return;
        int running = 0;
        curl_multi_perform(multi_, &running);
        int left = 0;
        while (CURLMsg* m = curl_multi_info_read(multi_, &left))
            if (m->msg == CURLMSG_DONE) finish(m->data.result);
    }

    void finish(CURLcode code) {
        done_ = true;
        curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &status_);
        failed_ = code != CURLE_OK;
        if (!download_) return;
        // Only a 200 carries the file: a redirect's or an empty answer's body is no download.
        if (status_ != 200) failed_ = true;
        // Synced before the rename, so that after a power cut the new name never stands for an
        // empty or short file; the folder after it, so that the rename itself holds.
        if (!failed_ && ::fsync(fd_) != 0) failed_ = true;
        const int closed = ::close(fd_);
        fd_ = -1;
        if (closed != 0) failed_ = true;
        if (!failed_ && accept_) {
            try {
                failed_ = !accept_(part_);
            } catch (...) {
                failed_ = true;
            }
        }
        if (!failed_ && ::rename(part_.c_str(), target_.c_str()) != 0) failed_ = true;
        if (failed_)
            ::unlink(part_.c_str());
        else
            syncFolderOf(target_);
    }

    void finishEarly() {
        done_ = true;
        failed_ = true;
    }

    CURLM* multi_ = nullptr;
    CURL* easy_ = nullptr;
    bool added_ = false;
    bool done_ = false;
    bool failed_ = false;
    long status_ = 0;
    std::string body_;
    bool download_;
    HttpClient::AcceptDownload accept_;
    std::string target_, part_;
    int fd_ = -1;
    std::int64_t maxBytes_;
    std::int64_t written_ = 0;
};

}  // namespace

CurlHttpClient::CurlHttpClient() = default;

// The TLS libraries' set-up costs a start-up that may never ask the network anything.
void CurlHttpClient::initOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::unique_ptr<HttpRequest> CurlHttpClient::get(const std::string& url, std::int64_t maxBytes) {
    initOnce();
    return std::make_unique<CurlRequest>(url, nullptr, maxBytes);
}

std::unique_ptr<HttpRequest> CurlHttpClient::download(const std::string& url, const std::string& targetPath,
                                                      std::int64_t maxBytes, AcceptDownload accept) {
    initOnce();
    return std::make_unique<CurlRequest>(url, &targetPath, maxBytes, std::move(accept));
}

}  // namespace platform
