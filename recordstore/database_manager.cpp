// The open-database list. The same file is refused a second time whether it is
// named by another spelling of its path (compared without case after making it
// absolute and normal) or reached through another link (same device and inode).
#include "recordstore/database_manager.h"

#include <unistd.h>

#include "internal/record_file.h"
#include "runtime/gbk.h"

namespace tavrin {

namespace {

std::string CurrentDirectoryGbk() {
    std::string buffer(4096, '\0');
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE || buffer.size() > (1u << 20)) return "/";
        buffer.resize(buffer.size() * 2);
    }
    buffer.resize(std::strlen(buffer.c_str()));
    return Utf8ToGbk(buffer);
}

std::string WithSlashes(std::string_view gbk) {
    std::string s(gbk);
    for (size_t i = 0; i < s.size(); ++i) {
        if (uint8_t(s[i]) >= 0x80 && i + 1 < s.size()) {
            ++i;  // a trail byte may be 0x5C and is not a separator
        } else if (s[i] == '\\') {
            s[i] = '/';
        }
    }
    return s;
}

}  // namespace

DatabaseManager::DatabaseManager() = default;
DatabaseManager::~DatabaseManager() = default;

std::string DatabaseManager::FullPath(std::string_view gbkName) {
    std::string name = WithSlashes(gbkName);
    if (name.empty() || name[0] != '/') name = CurrentDirectoryGbk() + "/" + name;
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find('/', start);
        if (end == std::string::npos) end = name.size();
        std::string part = name.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(std::move(part));
        }
        start = end + 1;
    }
    std::string result;
    for (const std::string& p : parts) result += "/" + p;
    return result.empty() ? "/" : result;
}

rs::Code DatabaseManager::open(std::string_view gbkFileName, const OpenOptions& options) {
    if (gbkFileName.empty()) return rs::Code::kFileNotFound;
    if (!options.alias.empty() && !rs::IsValidName(options.alias, 0)) return rs::Code::kBadAlias;
    const std::string path = FullPath(rs::WithDefaultExtension(gbkFileName));
    for (auto& db : list_) {
        if (rs::EqualNoCase(db->fullPath, path)) return rs::Code::kAlreadyOpen;
    }
    size_t indexCount = 0;
    for (const std::string& index : options.indexFiles) indexCount += index.empty() ? 0 : 1;
    if (indexCount > 10) return rs::Code::kTooManyIndexFiles;
    // Index files are not kept by this engine; asking for one is refused plainly.
    if (indexCount > 0) return rs::Code::kIndexOpenFailed;

    rs::OpenRequest request;
    request.gbkPath = path;
    request.readOnly = options.readOnly;
    request.sharing = rs::SharingFromArgument(options.sharing);
    request.password = options.password;
    std::unique_ptr<rs::Database> db;
    if (rs::Code code = rs::OpenDatabaseFiles(request, &db); code != rs::Code::kOk) return code;
    for (auto& other : list_) {
        if (other->fileInode != 0 && other->fileDevice == db->fileDevice &&
            other->fileInode == db->fileInode) {
            return rs::Code::kAlreadyOpen;  // db closes its files
        }
    }
    db->alias = options.alias;
    list_.push_back(std::move(db));
    current_ = int32_t(list_.size()) - 1;
    return rs::Code::kOk;
}

int32_t DatabaseManager::find(std::string_view gbkName) const {
    if (gbkName.empty()) return -1;
    const int32_t n = int32_t(list_.size());
    for (int32_t i = n - 1; i >= 0; --i) {
        const std::string& alias = list_[size_t(i)]->alias;
        if (!alias.empty() && rs::EqualNoCase(alias, gbkName)) return i;
    }
    for (int32_t i = n - 1; i >= 0; --i) {
        if (rs::EqualNoCase(list_[size_t(i)]->title, gbkName)) return i;
    }
    const std::string path = WithSlashes(gbkName);
    for (int32_t i = n - 1; i >= 0; --i) {
        if (rs::EqualNoCase(list_[size_t(i)]->fullPath, path)) return i;
    }
    return -1;
}

rs::Code DatabaseManager::select(std::string_view gbkName) {
    int32_t i = find(gbkName);
    if (i < 0) return rs::Code::kDatabaseNotOpen;
    current_ = i;
    return rs::Code::kOk;
}

void DatabaseManager::closeAt(int32_t index) {
    list_.erase(list_.begin() + index);  // the Database releases its locks and files
    if (index == current_) {
        current_ = -1;
    } else if (index < current_) {
        --current_;
    }
}

void DatabaseManager::close(std::string_view gbkName) {
    int32_t i = gbkName.empty() ? current_ : find(gbkName);
    if (i >= 0 && i < int32_t(list_.size())) closeAt(i);
}

void DatabaseManager::closeAll() {
    while (!list_.empty()) list_.erase(list_.begin());
    current_ = -1;
}

}  // namespace tavrin
