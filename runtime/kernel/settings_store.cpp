// The settings store file:
//   "TVSET01\n", u32 entry count, per entry u32 root, u32 key length, key,
//   u32 name length, name, u32 type, u32 data length, data; then a 64-bit
//   FNV-1a checksum of everything before it. All integers little-endian.
// A file that fails any check reads as an empty store.
#include "kernel/settings_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QSaveFile>
#include <QStandardPaths>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

#include "runtime/base/fnv.h"
#include "runtime/base/little_endian.h"
#include "runtime/gbk.h"
#include "runtime/kernel/gbk_scan.h"

namespace tavrin {
namespace {

constexpr char kMagic[8] = {'T', 'V', 'S', 'E', 'T', '0', '1', '\n'};

uint64_t Checksum(std::string_view bytes) {
    Fnv1a sum;
    sum.addBytes(bytes.data(), bytes.size());
    return sum.h;
}

struct Reader {
    std::string_view bytes;
    size_t at = 0;
    bool U32(uint32_t& v) {
        if (bytes.size() - at < 4) return false;
        v = LoadLe<uint32_t>(bytes.data() + at);
        at += 4;
        return true;
    }
    bool Bytes(std::string& s) {
        uint32_t n;
        if (!U32(n) || bytes.size() - at < n) return false;
        s.assign(bytes.substr(at, n));
        at += n;
        return true;
    }
};

// Holds an exclusive lock on the store's lock file while writers read, change
// and replace the store, so two programs never lose each other's values. A lock
// that cannot be had within two seconds is given up rather than hanging.
class WriterLock {
  public:
    explicit WriterLock(const std::string& path) {
        fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd_ < 0) return;
        for (int i = 0; i < 200; ++i) {
            if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    ~WriterLock() {
        if (fd_ >= 0) ::close(fd_);  // closing releases the lock
    }

  private:
    int fd_ = -1;
};

std::string& DirectoryOverride() {
    static std::string dir;
    return dir;
}

std::string KeyOf(std::string_view key) {
    while (!key.empty() && key.front() == '\\') key.remove_prefix(1);
    // A trailing backslash is only a separator when it is not a trail byte.
    while (!key.empty() && kernel::GbkFindLastAscii(key, '\\') == key.size() - 1)
        key.remove_suffix(1);
    return std::string(key);
}

}  // namespace

int32_t NormalizeSettingsRoot(int32_t root) {
    return root >= kClassesRoot && root <= kUsers ? root : kCurrentUser;
}

SettingsPath SplitSettingsPath(std::string_view gbkPath) {
    size_t slash = kernel::GbkFindLastAscii(gbkPath, '\\');
    if (slash == std::string_view::npos) return {std::string(), std::string(gbkPath)};
    return {KeyOf(gbkPath.substr(0, slash)), std::string(gbkPath.substr(slash + 1))};
}

std::string ExpandEnvironmentText(std::string_view gbk) {
    std::string out;
    size_t i = 0;
    while (i < gbk.size()) {
        size_t open = gbk.find('%', i);  // '%' is never a trail byte in GBK
        size_t close = open == std::string_view::npos ? open : gbk.find('%', open + 1);
        if (close == std::string_view::npos) break;
        out.append(gbk.substr(i, open - i));
        std::string name = GbkToUtf8(gbk.substr(open + 1, close - open - 1));
        const char* value = name.empty() ? nullptr : std::getenv(name.c_str());
        if (value != nullptr) {
            out += Utf8ToGbk(value);
            i = close + 1;
        } else {
            // Not a variable: keep the first '%' and look again from the second.
            out += '%';
            i = open + 1;
            if (name.empty()) {
                out += '%';
                i = close + 1;
            }
        }
    }
    out.append(gbk.substr(i < gbk.size() ? i : gbk.size()));
    return out;
}

SettingsStore::SettingsStore(std::string path) : path_(std::move(path)) {}

std::string SettingsStore::MapKey(int32_t root, std::string_view key, std::string_view name) {
    std::string k(1, char('0' + NormalizeSettingsRoot(root)));
    k += kernel::GbkAsciiLower(KeyOf(key));
    k += '\0';
    k += kernel::GbkAsciiLower(name);
    return k;
}

SettingsStore::FileStamp SettingsStore::Stamp() const {
    struct stat st {};
    if (::stat(path_.c_str(), &st) != 0) return FileStamp{};
    return FileStamp{uint64_t(st.st_dev), uint64_t(st.st_ino), uint64_t(st.st_size),
                     int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
                     int64_t(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec};
}

void SettingsStore::Refresh(bool force) {
    FileStamp now = Stamp();
    if (!force && now == loaded_) return;
    loaded_ = now;
    entries_.clear();
    std::ifstream in(path_, std::ios::binary);
    if (!in) return;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < sizeof kMagic + 4 + 8 || bytes.compare(0, 8, kMagic, 8) != 0) return;
    std::string_view body(bytes.data(), bytes.size() - 8);
    const auto stored = LoadLe<uint64_t>(bytes.data() + body.size());
    if (stored != Checksum(body)) return;

    Reader r{body, sizeof kMagic};
    uint32_t count;
    if (!r.U32(count)) return;
    std::map<std::string, Entry> read;
    for (uint32_t i = 0; i < count; ++i) {
        Entry e;
        uint32_t root, type;
        if (!r.U32(root) || !r.Bytes(e.key) || !r.Bytes(e.name) || !r.U32(type) ||
            !r.Bytes(e.value.data))
            return;
        if (type < 1 || type > 4) return;
        e.root = int32_t(root);
        e.value.type = SettingsType(type);
        std::string k = MapKey(e.root, e.key, e.name);
        read[k] = std::move(e);
    }
    if (r.at != body.size()) return;
    entries_ = std::move(read);
}

bool SettingsStore::Save() {
    std::string out(kMagic, sizeof kMagic);
    AppendLe(out, uint32_t(entries_.size()));
    for (const auto& [k, e] : entries_) {
        AppendLe(out, uint32_t(e.root));
        AppendLe(out, uint32_t(e.key.size()));
        out += e.key;
        AppendLe(out, uint32_t(e.name.size()));
        out += e.name;
        AppendLe(out, uint32_t(e.value.type));
        AppendLe(out, uint32_t(e.value.data.size()));
        out += e.value.data;
    }
    AppendLe(out, Checksum(out));

    QSaveFile file(QString::fromStdString(path_));
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(out.data(), qint64(out.size())) != qint64(out.size())) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    if (!file.commit()) return false;
    loaded_ = Stamp();
    return true;
}

std::optional<SettingsValue> SettingsStore::Read(int32_t root, std::string_view gbkKey,
                                                 std::string_view gbkName) {
    std::lock_guard lock(mutex_);
    Refresh(false);
    auto it = entries_.find(MapKey(root, gbkKey, gbkName));
    if (it == entries_.end()) return std::nullopt;
    return it->second.value;
}

bool SettingsStore::Write(int32_t root, std::string_view gbkKey, std::string_view gbkName,
                          const SettingsValue& value) {
    std::lock_guard lock(mutex_);
    const std::string dir = path_.substr(0, path_.find_last_of('/') + 1);
    if (!dir.empty() && !QDir().mkpath(QString::fromStdString(dir))) return false;
    WriterLock writer(path_ + ".lock");
    Refresh(true);  // another program may have written since we last looked
    const std::string k = MapKey(root, gbkKey, gbkName);
    auto it = entries_.find(k);
    if (it != entries_.end()) {
        it->second.value = value;
    } else {
        entries_[k] =
            Entry{NormalizeSettingsRoot(root), KeyOf(gbkKey), std::string(gbkName), value};
    }
    if (Save()) return true;
    Refresh(true);  // keep memory as the file is
    return false;
}

std::string SettingsDirectory() {
    if (!DirectoryOverride().empty()) return DirectoryOverride();
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.config");
    return (base + QStringLiteral("/tavrin")).toStdString();
}

namespace {
std::mutex& UserStoreMutex() {
    static std::mutex m;
    return m;
}
std::unique_ptr<SettingsStore>& UserStore() {
    static std::unique_ptr<SettingsStore> store;
    return store;
}
}  // namespace

SettingsStore& UserSettings() {
    std::lock_guard lock(UserStoreMutex());
    if (!UserStore())
        UserStore() = std::make_unique<SettingsStore>(SettingsDirectory() + "/settings.dat");
    return *UserStore();
}

std::string UserSettingsFile() {
    return UserSettings().path();
}

void SetSettingsDirectory(const std::string& utf8Directory) {
    std::lock_guard lock(UserStoreMutex());
    DirectoryOverride() = utf8Directory;
    UserStore().reset();
}

}  // namespace tavrin
