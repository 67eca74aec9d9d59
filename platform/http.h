#pragma once
// HTTP GET and bounded downloads that the caller drives by polling, so a user interface thread
// never blocks on the network.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

// A download is written to a temporary file beside its target, named as a replace's temporary of
// the target's name with this added (".NAME.part.XXXXXX"), then renamed over the target.
inline constexpr std::string_view DownloadPartSuffix = ".part";
// The name of the file a download's temporary file stands for; empty for any other name.
std::string downloadPartTarget(std::string_view leaf);

// RFC 3986 unreserved characters are kept; every other byte becomes %XX (upper-case hex), so
// UTF-8 text is sent as its bytes.
std::string percentEncode(std::string_view utf8);

class HttpRequest {
public:
    virtual ~HttpRequest();
    // Moves the transfer on without blocking: 1 while under way, 4 when complete (or failed).
    virtual int readyState() = 0;
    // Transport failure: refused, no such host, reset, a body over its bound, a download with a
    // status other than 200.
    virtual bool failed() const = 0;
    // The raw bytes received, whatever the status (empty for a download).
    virtual std::string responseBody() = 0;
    // Blocks up to ms waiting for the socket, then moves the transfer on.
    virtual void wait(int ms) = 0;
    // The HTTP status once known, else 0.
    virtual long httpStatus() const { return 0; }
};

class HttpClient {
public:
    virtual ~HttpClient();
    // A body of more than maxBytes fails, the transfer stopped there (negative: no bound).
    virtual std::unique_ptr<HttpRequest> get(const std::string& url, std::int64_t maxBytes) = 0;
    // Writes a temporary file beside targetPath (DownloadPartSuffix) and renames it onto targetPath
    // on success; on failure it is removed and an old target stays as it was. maxBytes as for get.
    // accept, when given, sees the complete temporary file before the rename; false (or a throw)
    // fails the download.
    using AcceptDownload = std::function<bool(const std::string& partPath)>;
    virtual std::unique_ptr<HttpRequest> download(const std::string& url, const std::string& targetPath,
                                                  std::int64_t maxBytes, AcceptDownload accept = {}) = 0;
};

// libcurl's multi interface, one multi handle per request; http and https only, no redirects.
// Destroying a request at any point aborts its transfer and cleans up.
class CurlHttpClient : public HttpClient {
public:
    CurlHttpClient();
    std::unique_ptr<HttpRequest> get(const std::string& url, std::int64_t maxBytes) override;
    std::unique_ptr<HttpRequest> download(const std::string& url, const std::string& targetPath,
                                          std::int64_t maxBytes, AcceptDownload accept = {}) override;

private:
    static void initOnce();
};

}  // namespace platform
