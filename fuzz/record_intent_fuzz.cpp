// The intent file of a group of record files (ksdata/.records.intent), as the launch meets it
// after a crash: whatever it holds, nothing is written outside ksdata, nothing that is not a
// record file, and a file it names holds either its old bytes or the intent's.
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/textfile.h"
#include "session/learner_records.h"
#include "session/record_group.h"

namespace {

namespace fs = std::filesystem;

const std::string& root() {
    static const std::string r = [] {
        std::string s = fuzzsupport::scratchDir() + "/intent";
        fuzzsupport::makeDir(s + "/prog/ksdata");
        return s;
    }();
    return r;
}

std::map<std::string, std::string> tree() {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(root())) {
        if (!e.is_regular_file() && !e.is_symlink()) continue;
        out[fs::relative(e.path(), root()).string()] = platform::readBytes(e.path().string()).value_or("<unreadable>");
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using fuzzsupport::fail;
    const std::string ksdata = root() + "/prog/ksdata";
    std::error_code ec;
    fs::remove_all(root(), ec);
    fuzzsupport::makeDir(ksdata);
    // Targets a bad name could reach: beside the program folder, in it, and a record.
    fuzzsupport::writeFile(root() + "/288862.mxy", "outside\r\n");
    fuzzsupport::writeFile(root() + "/prog/288862.mxy", "program folder\r\n");
    fuzzsupport::writeFile(ksdata + "/288862.mxy", "old\r\n");
    const auto before = tree();

    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    fuzzsupport::writeFile(ksdata + "/" + qz::RecordIntentName, bytes);
    std::vector<qz::IntentEntry> entries;
    const bool whole = qz::decodeIntent(bytes, entries);
    const qz::GroupRecovery r = qz::recoverRecordGroup(ksdata);

    if (whole != (r.outcome == qz::GroupRecovery::Completed)) fail("a whole intent file not completed, or a damaged one used");
    if (fs::exists(ksdata + "/" + qz::RecordIntentName)) fail("the intent file stayed");
    std::map<std::string, std::string> expected = before;
    for (const auto& e : entries) {
        if (!qz::isRecordFileName(e.name)) fail("an entry that names no record file");
        expected["prog/ksdata/" + e.name] = e.bytes;
    }
    if (tree() != expected) fail("a file written that the intent file does not rightly name");
    return 0;
}
