// Backup names: the stamp is exactly the date-time text of ToText, so a name
// read back is taken only when the stamp it carries is written the same way.
#include "finance/backup/backup_names.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <map>
#include <optional>

#include "backup_text_constants.h"
#include "runtime/gbk.h"
#include "runtime/kernel/conversion_commands.h"

namespace tavrin::backup {

const char* ItemFileName(int side) {
    return side == 0 ? backup_text::IncomeFile : backup_text::ExpenseFile;
}

const char* AmountFieldName(int side) {
    return side == 0 ? backup_text::IncomeAmountField : backup_text::ExpenseAmountField;
}

std::string StampOf(double days) {
    char text[kDateTimeTextMax];
    return std::string(text, WriteDateTimeText(days, text));
}

std::string PairKey(std::string_view gbkStamp, Kind kind) {
    std::string key(gbkStamp);
    if (kind == Kind::kAutomatic) key += backup_text::AutomaticMark;
    return key;
}

std::string BackupFileName(std::string_view gbkStamp, Kind kind, int side) {
    return PairKey(gbkStamp, kind) + ItemFileName(side);
}

std::string InDirectory(const std::string& gbkDir, std::string_view gbkName) {
    std::string path = gbkDir;
    if (!path.empty() && path.back() != '/' && path.back() != '\\') path += '/';
    return path + std::string(gbkName);
}

namespace {

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// The moment of a stamp that ToText would write just so; none otherwise.
std::optional<double> MomentOf(std::string_view stamp) {
    const std::optional<double> when = TextToDateTime(stamp);
    if (!when || StampOf(*when) != stamp) return std::nullopt;
    return when;
}

}  // namespace

std::vector<PairName> FindBackupPairs(const std::string& gbkDir) {
    std::map<std::string, PairName> pairs;
    DIR* dir = opendir(NativePath(gbkDir).c_str());
    if (dir == nullptr) return {};
    while (const dirent* entry = readdir(dir)) {
        const std::string name = Utf8ToGbk(entry->d_name);
        for (int side = 0; side < kSides; ++side) {
            const std::string_view file = ItemFileName(side);
            if (!EndsWith(name, file) || name.size() == file.size()) continue;
            std::string_view stamp = std::string_view(name).substr(0, name.size() - file.size());
            Kind kind = Kind::kManual;
            if (EndsWith(stamp, backup_text::AutomaticMark)) {
                kind = Kind::kAutomatic;
                stamp.remove_suffix(std::string_view(backup_text::AutomaticMark).size());
            }
            const std::optional<double> when = MomentOf(stamp);
            struct stat st;
            if (!when || stat(NativePath(InDirectory(gbkDir, name)).c_str(), &st) != 0 ||
                !S_ISREG(st.st_mode))
                continue;
            PairName& pair = pairs[PairKey(stamp, kind)];
            pair.key = PairKey(stamp, kind);
            pair.stamp = std::string(stamp);
            pair.kind = kind;
            pair.when = *when;
            pair.files[size_t(side)] = name;
        }
    }
    closedir(dir);
    std::vector<PairName> out;
    for (auto& [key, pair] : pairs) out.push_back(std::move(pair));
    // Newest first; of two in the same second the person's own copy first.
    std::stable_sort(out.begin(), out.end(), [](const PairName& a, const PairName& b) {
        if (a.when != b.when) return a.when > b.when;
        return a.kind == Kind::kManual && b.kind == Kind::kAutomatic;
    });
    return out;
}

PairName FindBackupPair(const std::string& gbkDir, std::string_view gbkKey) {
    for (PairName& pair : FindBackupPairs(gbkDir))
        if (pair.key == gbkKey) return pair;
    return {};
}

}  // namespace tavrin::backup
