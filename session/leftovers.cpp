#include "session/leftovers.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <string_view>

#include "platform/files.h"
#include "platform/http.h"
#include "platform/legacy_text.h"
#include "platform/textfile.h"
#include "session/learner_records.h"
#include "session/record_group.h"

namespace qz {

namespace {

enum class Folder { Records, Data, Downloads };

// The replace keeps the case of a file already there, so a name may come in any case.
bool writtenThere(Folder folder, std::string_view name) {
    if (folder == Folder::Records)
        return isRecordFileName(platform::lowerCase(name)) || platform::asciiIEqual(name, RecordIntentName) ||
               platform::asciiIEqual(name, recordfile::ImeOption);
    if (folder == Folder::Data) {
        // The question sets, the module information and the first-run mark: "2888" + two digits.
        if (name.size() != 10 || !platform::asciiIEqual(name.substr(0, 4), "2888") ||
            !platform::asciiIEqual(name.substr(6), ".mxy"))
            return false;
        return std::isdigit(static_cast<unsigned char>(name[4])) && std::isdigit(static_cast<unsigned char>(name[5]));
    }
    return false;
}

bool replaceTemporary(Folder folder, std::string_view name) {
    const std::string target = platform::replaceTemporaryTarget(name);
    return !target.empty() && writtenThere(folder, target);
}

bool downloadPart(std::string_view name) { return !platform::downloadPartTarget(name).empty(); }

void sweep(const std::string& path, Folder folder, std::vector<std::string>& removed) {
    if (path.empty()) return;
    DIR* dir = ::opendir(path.c_str());
    if (!dir) return;
    std::vector<std::string> names;
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (replaceTemporary(folder, name) || downloadPart(name)) names.push_back(name);
    }
    ::closedir(dir);
    std::string shown = path;
    while (shown.size() > 1 && shown.back() == '/') shown.pop_back();
    shown = platform::leafOf(shown);
    for (const std::string& name : names) {
        const std::string file = platform::joinPath(path, name);
        struct stat st {};
        if (::lstat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        if (::unlink(file.c_str()) == 0) removed.push_back(shown + "/" + name);
    }
}

}  // namespace

std::vector<std::string> sweepLeftovers(const WrittenFolders& folders) {
    std::vector<std::string> removed;
    sweep(folders.ksdata, Folder::Records, removed);
    sweep(folders.data, Folder::Data, removed);
    sweep(folders.examdata, Folder::Downloads, removed);
    return removed;
}

}  // namespace qz
