#pragma once
// Downloads that hold the program until they end: no event is handled while files are replaced.
#include <string>

namespace qz {

class Program;

// What a download fetches, which bounds how long it may take and how large it may be.
enum class DownloadKind { Advertisement, List, ListedFile };

// Fetches url into path (replaced only when the whole file arrived with status 200, within the
// kind's size), giving up after the kind's time. True on success; a failure leaves an old file
// as it was.
bool downloadToFile(Program& p, const std::string& url, const std::string& path, DownloadKind kind);

}  // namespace qz
