// DatabaseManager: the process-wide list of open databases in opening order,
// with the current database, aliases, look-up by alias, title or path, and
// the per-thread last database error with its message table.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "recordstore/error_codes.h"

namespace tavrin {

namespace rs {
// An open database; its insides are the engine's own.
class Database;
}  // namespace rs

struct OpenOptions {
    std::string alias;  // GBK; empty for none
    bool readOnly = false;
    int32_t sharing = 1;   // 1 others may read and write, 2 not read, 3 not write, else exclusive
    std::string password;  // GBK; "?" asks the user
    std::vector<std::string> indexFiles;  // GBK; empty names are skipped
};

class DatabaseManager {
  public:
    // The one manager of this process (used from one thread at a time). Never
    // destroyed: a late caller during program end still finds it; the operating
    // system closes the files (and so drops their locks) at exit.
    static DatabaseManager& instance() {
        static DatabaseManager* manager = new DatabaseManager;
        return *manager;
    }
    DatabaseManager(const DatabaseManager&) = delete;
    DatabaseManager& operator=(const DatabaseManager&) = delete;

    // Opens, checks and appends a database, which becomes current. kAlreadyOpen when the
    // same file (any spelling, any link) is already open.
    rs::Code open(std::string_view gbkFileName, const OpenOptions& options);
    // Looks up by alias, then file title, then full path (newest first, no case).
    rs::Code select(std::string_view gbkName);
    // Closes the database the name finds, or the current one for an empty name.
    void close(std::string_view gbkName);
    void closeAll();

    rs::Database* current() const {
        return current_ >= 0 && current_ < int32_t(list_.size()) ? list_[size_t(current_)].get()
                                                                 : nullptr;
    }
    int32_t currentIndex() const { return current_; }
    int32_t size() const { return int32_t(list_.size()); }
    rs::Database* at(int32_t i) const { return list_[size_t(i)].get(); }

    // The absolute, normalised GBK path of a name against the current directory.
    static std::string FullPath(std::string_view gbkName);

  private:
    DatabaseManager();
    ~DatabaseManager();
    int32_t find(std::string_view gbkName) const;
    void closeAt(int32_t index);

    std::vector<std::unique_ptr<rs::Database>> list_;
    int32_t current_ = -1;
};

// The per-thread last database error: 0 or a negative code, the number the
// application sees. Every command touches it twice, so it is reached without a call.
namespace detail {
extern constinit __attribute__((tls_model("initial-exec"))) thread_local int32_t tLastDatabaseError;
}
inline int32_t LastDatabaseError() {
    return detail::tLastDatabaseError;
}
// The same as the engine's code, for callers that ask what kind of failure it was.
inline rs::Code LastDatabaseCode() {
    return rs::Code(detail::tLastDatabaseError);
}
inline void SetLastDatabaseError(rs::Code code) {
    detail::tLastDatabaseError = rs::ToInt(code);
}
// The GBK message of a code: "" for kOk, "未知错误" for an unknown code.
const char* DatabaseError(rs::Code code);
// The process-wide lock wait time (ms; 0 fail at once, -1 for ever).
int32_t DatabaseLockWaitTime();
void SetDatabaseLockWaitTime(int32_t ms);

}  // namespace tavrin
