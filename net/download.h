#pragma once
// Downloads that hold the program until they end: no event is handled while files are replaced.
#include <string>

#include "platform/http.h"

namespace qz {

class Program;

// What a download fetches, which bounds how long it may take and how large it may be.
enum class DownloadKind { Advertisement, List, ListedFile };

// Fetches url into path (replaced only when the whole file arrived with status 200, within the
// kind's size), giving up after the kind's time. True on success; a failure leaves an old file
// as it was.
// accept, when given, is asked about the complete file before it replaces the one at path.
bool downloadToFile(Program& p, const std::string& url, const std::string& path, DownloadKind kind,
                    platform::HttpClient::AcceptDownload accept = {});

}  // namespace qz
