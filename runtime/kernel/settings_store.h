// The per-user settings store behind the registry commands: roots, keys and
// named typed values in one file in the user's configuration directory. The
// file is replaced atomically on every write; a damaged file reads as empty.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/kernel/settings_roots.h"

namespace tavrin {

// Any root number a caller may not name means the current user.
int32_t NormalizeSettingsRoot(int32_t root);

enum class SettingsType : uint32_t {
    kString = 1,        // GBK bytes with their NUL
    kExpandString = 2,  // the same, %NAME% expanded from the environment on reading
    kBinary = 3,
    kNumber = 4,  // 32-bit little-endian
};

struct SettingsValue {
    SettingsType type = SettingsType::kBinary;
    std::string data;
};

// "software\打印设置\ID" → key "software\打印设置", name "ID"; no backslash → key "".
struct SettingsPath {
    std::string key;
    std::string name;
};
SettingsPath SplitSettingsPath(std::string_view gbkPath);

// %NAME% replaced by the environment variable NAME; unknown names stay as written.
std::string ExpandEnvironmentText(std::string_view gbk);

class SettingsStore {
  public:
    // The store kept in file `path` (UTF-8); the file need not exist yet.
    explicit SettingsStore(std::string path);

    // The value, or nullopt when the key or the value does not exist. Keys and
    // names compare without case for ASCII letters.
    std::optional<SettingsValue> Read(int32_t root, std::string_view gbkKey,
                                      std::string_view gbkName);
    // Stores the value, creating the key; false when the file could not be written.
    bool Write(int32_t root, std::string_view gbkKey, std::string_view gbkName,
               const SettingsValue& value);

    const std::string& path() const { return path_; }

  private:
    struct Entry {
        int32_t root;
        std::string key;
        std::string name;
        SettingsValue value;
    };
    struct FileStamp {
        uint64_t device = 0, inode = 0, size = 0;
        int64_t modifiedNs = -1;
        int64_t changedNs = -1;
        bool operator==(const FileStamp&) const = default;
    };

    static std::string MapKey(int32_t root, std::string_view key, std::string_view name);
    FileStamp Stamp() const;
    // Re-reads the file when it changed on disk (or always, with force).
    void Refresh(bool force);
    bool Save();

    std::string path_;
    std::mutex mutex_;
    std::map<std::string, Entry> entries_;
    FileStamp loaded_;
};

// The store of the user running the program.
SettingsStore& UserSettings();

}  // namespace tavrin
