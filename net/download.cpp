#include "net/download.h"

#include "app/program.h"

namespace qz {

bool downloadToFile(Program& p, const std::string& url, const std::string& path, DownloadKind kind,
                    platform::HttpClient::AcceptDownload accept) {
    const int limitMs = kind == DownloadKind::ListedFile ? p.svc.fileDownloadLimitMs : p.svc.shortDownloadLimitMs;
    const std::int64_t maxBytes = kind == DownloadKind::Advertisement ? AdvertisementMaxBytes
                                  : kind == DownloadKind::List        ? ListMaxBytes
                                                                      : ListedFileMaxBytes;
    std::unique_ptr<platform::HttpRequest> req = p.svc.http->download(url, path, maxBytes, std::move(accept));
    if (!req) return false;
    const std::int64_t t0 = p.rt.now();
    while (req->readyState() != 4) {
        if (p.rt.now() - t0 >= limitMs) return false;  // dropping the request removes its part
        req->wait(10);
        p.rt.host().letTimePass(10);
    }
    return !req->failed();
}

}  // namespace qz
