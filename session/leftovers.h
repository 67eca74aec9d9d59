// The start-up sweep: files that only a write cut short by a crash leaves behind.
#pragma once

#include <string>
#include <vector>

namespace qz {

// The folders the program writes into; an empty path is not swept.
struct WrittenFolders {
    std::string ksdata;
    std::string data;
    std::string examdata;
};

// Removes, in each folder, the replace's temporary files of the names the program writes there
// (".NAME." and six characters) and the downloader's (".NAME.part." and six characters); nothing
// else, and nothing that is not a plain file. Gives what it removed, as "folder/name" with the
// folder's last part.
std::vector<std::string> sweepLeftovers(const WrittenFolders& folders);

}  // namespace qz
