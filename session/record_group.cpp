#include "session/record_group.h"

#include <array>
#include <charconv>
#include <optional>

#include "platform/files.h"
#include "platform/textfile.h"
#include "platform/vb_error.h"
#include "session/learner_records.h"

namespace qz {

namespace {

constexpr std::string_view Header = "records-intent 1\n";
constexpr std::string_view Trailer = "end ";
// Slots 0 to 30: the exam history's records.
constexpr int PaperSlots = 31;

std::string hex8(std::uint32_t v) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string out(8, '0');
    for (int i = 7; i >= 0; --i, v >>= 4) out[static_cast<std::size_t>(i)] = digits[v & 15];
    return out;
}

// Reads up to the next "\n" and consumes it; false when there is none.
bool takeLine(std::string_view& in, std::string_view& line) {
    const std::size_t nl = in.find('\n');
    if (nl == std::string_view::npos) return false;
    line = in.substr(0, nl);
    in.remove_prefix(nl + 1);
    return true;
}

// Plain decimal digits only: no sign, no spaces, no leading zero but "0" itself.
bool decimal(std::string_view text, std::size_t& value) {
    if (text.empty() || text.size() > 12 || (text.size() > 1 && text[0] == '0')) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    return r.ec == std::errc() && r.ptr == text.data() + text.size();
}

bool hexWord(std::string_view text, std::uint32_t& value) {
    if (text.size() != 8) return false;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    const auto r = std::from_chars(text.data(), text.data() + 8, value, 16);
    return r.ec == std::errc();
}

struct OldFile {
    std::string path;
    std::optional<std::string> bytes;  // none: there was no file
};

// Puts back the first `replaced` files, last first; false when one of them could not be.
bool putBack(const std::vector<OldFile>& old, std::size_t replaced) {
    bool all = true;
    for (std::size_t k = replaced; k-- > 0;) {
        try {
            if (old[k].bytes)
                platform::writeBytesReplace(old[k].path, *old[k].bytes);
            else if (!platform::removeFileSynced(old[k].path))
                all = false;
        } catch (...) {
            all = false;
        }
    }
    return all;
}

}  // namespace

std::uint32_t crc32(std::string_view bytes) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : bytes) c = table[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::vector<std::string> recordFileNames() {
    std::vector<std::string> names{recordfile::UnitProgress,   recordfile::Favourites,  recordfile::FavouritesReview,
                                   recordfile::WrongQuestions, recordfile::WrongReview, recordfile::ExamHistory,
                                   recordfile::RandomPapers};
    for (int slot = 0; slot < PaperSlots; ++slot) names.push_back(recordfile::paperWrong(slot));
    return names;
}

bool isRecordFileName(std::string_view name) {
    for (const std::string& n : recordFileNames())
        if (name == n) return true;
    return false;
}

std::string encodeIntent(const std::vector<IntentEntry>& entries) {
    std::string out(Header);
    out += std::to_string(entries.size()) + "\n";
    for (const IntentEntry& e : entries) {
        out += e.name + "\n" + std::to_string(e.bytes.size()) + "\n" + hex8(crc32(e.bytes)) + "\n";
        out += e.bytes;
        out += "\n";
    }
    const std::uint32_t whole = crc32(out);
    out += std::string(Trailer) + hex8(whole) + "\n";
    return out;
}

namespace {

bool decodeInto(std::string_view bytes, std::vector<IntentEntry>& entries) {
    const std::string_view all = bytes;
    if (bytes.substr(0, Header.size()) != Header) return false;
    bytes.remove_prefix(Header.size());
    std::string_view line;
    std::size_t count = 0;
    if (!takeLine(bytes, line) || !decimal(line, count)) return false;
    // Each entry takes at least its three lines and a line end.
    if (count == 0 || count > bytes.size() / 4) return false;
    for (std::size_t k = 0; k < count; ++k) {
        std::string_view name, lengthText, crcText;
        std::size_t length = 0;
        std::uint32_t crc = 0;
        if (!takeLine(bytes, name) || !isRecordFileName(name)) return false;
        if (!takeLine(bytes, lengthText) || !decimal(lengthText, length)) return false;
        if (!takeLine(bytes, crcText) || !hexWord(crcText, crc)) return false;
        if (bytes.size() < length + 1 || bytes[length] != '\n') return false;
        const std::string_view content = bytes.substr(0, length);
        if (crc32(content) != crc) return false;
        for (const IntentEntry& e : entries)
            if (e.name == name) return false;
        entries.push_back({std::string(name), std::string(content)});
        bytes.remove_prefix(length + 1);
    }
    const std::string_view body = all.substr(0, all.size() - bytes.size());
    std::uint32_t whole = 0;
    if (!takeLine(bytes, line) || !bytes.empty()) return false;
    if (line.substr(0, Trailer.size()) != Trailer || !hexWord(line.substr(Trailer.size()), whole)) return false;
    return crc32(body) == whole;
}

}  // namespace

bool decodeIntent(std::string_view bytes, std::vector<IntentEntry>& entries) {
    entries.clear();
    if (decodeInto(bytes, entries)) return true;
    entries.clear();
    return false;
}

void writeRecordGroup(const std::vector<RecordBytes>& files) {
    if (files.empty()) return;
    const std::string folder = platform::folderOf(files.front().path);
    for (const RecordBytes& f : files)
        if (platform::folderOf(f.path) != folder) platform::raise(75);
    // Replacing another group's intent file would lose that group for good if this write is cut.
    const GroupRecovery earlier = recoverRecordGroup(folder);
    if (earlier.outcome == GroupRecovery::Failed) platform::raise(earlier.error);
    std::vector<OldFile> old;
    std::vector<IntentEntry> intent;
    for (const RecordBytes& f : files) {
        // A file that is there and cannot be read could not be put back: nothing is written.
        OldFile o{f.path, std::nullopt};
        if (platform::fileExists(f.path)) {
            o.bytes = platform::readBytes(f.path);
            if (!o.bytes) platform::raise(75);
        }
        old.push_back(std::move(o));
        intent.push_back({platform::leafOf(f.path), f.bytes});
    }
    const std::string intentPath = platform::joinPath(folder, RecordIntentName);
    try {
        platform::writeBytesReplace(intentPath, encodeIntent(intent));
    } catch (...) {
        // It may be in place all the same; with no file replaced yet, none is left to wait.
        platform::removeFileSynced(intentPath);
        throw;
    }
    std::size_t replaced = 0;
    try {
        for (const RecordBytes& f : files) {
            // Counted first: a replace that fails at the folder's sync has renamed the file.
            ++replaced;
            platform::writeBytesReplace(f.path, f.bytes);
        }
    } catch (...) {
        // With a file left unrestored, the intent file stays: the next launch then completes
        // the group, which is better than a pair of an old and a new file.
        if (putBack(old, replaced)) platform::removeFileSynced(intentPath);
        throw;
    }
    // Every file is in place; an intent file that stays is only written again at the next launch.
    platform::removeFileSynced(intentPath);
}

GroupRecovery recoverRecordGroup(const std::string& folder) {
    GroupRecovery result;
    const std::string intentPath = platform::joinPath(folder, RecordIntentName);
    if (!platform::fileExists(intentPath)) return result;
    const std::optional<std::string> bytes = platform::readBytes(intentPath);
    if (!bytes) {
        // A read that fails says nothing of the bytes: the group may be whole, and waits.
        if (!platform::fileExists(intentPath)) return result;
        result.outcome = GroupRecovery::Failed;
        result.error = 75;
        return result;
    }
    std::vector<IntentEntry> entries;
    if (!decodeIntent(*bytes, entries)) {
        // Nothing in it can be trusted to be written.
        result.outcome = GroupRecovery::Damaged;
        result.removed = platform::removeFileSynced(intentPath);
        return result;
    }
    auto failed = [&](int error) {
        result.outcome = GroupRecovery::Failed;
        result.error = error;
        result.names.clear();
        result.pending = std::move(entries);
        return result;
    };
    try {
        for (const IntentEntry& e : entries) {
            platform::writeBytesReplace(platform::joinPath(folder, e.name), e.bytes);
            result.names.push_back(e.name);
        }
    } catch (const platform::VbError& e) {
        return failed(e.number);
    } catch (...) {
        return failed(75);
    }
    // An intent file that stays would be completed again over what is written after it.
    if (!platform::removeFileSynced(intentPath)) return failed(75);
    result.outcome = GroupRecovery::Completed;
    return result;
}

}  // namespace qz
