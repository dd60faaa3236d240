// The names of backup copies: "<time><item file>" as the 备份 button names
// them, "<time>自动备份<item file>" for the daily ones, and finding the pairs.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin::backup {

enum class Kind { kManual, kAutomatic };
// The two item files: income is side 0, expense side 1.
constexpr int kSides = 2;
// "财务收入.edb" / "财务支出.edb" (GBK).
const char* ItemFileName(int side);
// The amount field of a side's item file (GBK).
const char* AmountFieldName(int side);

// The time text of a moment (days since 1899-12-30) as ToText writes it
// ("2012年5月3日14时7分9秒", "2012年5月3日"), GBK.
std::string StampOf(double days);
// The part of a copy's name before the item file's name: the stamp, with the
// automatic mark after it for a daily copy. It names a pair uniquely.
std::string PairKey(std::string_view gbkStamp, Kind kind);
std::string BackupFileName(std::string_view gbkStamp, Kind kind, int side);

// One pair as the directory holds it; a side the pair lacks has no name.
struct PairName {
    std::string key;    // GBK, see PairKey
    std::string stamp;  // GBK
    Kind kind = Kind::kManual;
    double when = 0;  // the stamp's moment
    std::array<std::string, kSides> files;
};
// Every pair in the directory (GBK path), newest first; names that only look
// like a copy's (a stamp that is no date, a folder) are left out.
std::vector<PairName> FindBackupPairs(const std::string& gbkDir);
// The pair of this key, or none (key empty).
PairName FindBackupPair(const std::string& gbkDir, std::string_view gbkKey);

// The directory entry's path (GBK).
std::string InDirectory(const std::string& gbkDir, std::string_view gbkName);

}  // namespace tavrin::backup
