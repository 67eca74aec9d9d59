#pragma once
// Downloads that hold the program until they end: no event is handled while files are replaced.
#include <string>

namespace qz {

class Program;

// Fetches url into path (replaced only when the whole file arrived with status 200), giving up
// after limitMs. True on success; a failure leaves an old file as it was.
bool downloadToFile(Program& p, const std::string& url, const std::string& path, int limitMs);

}  // namespace qz
