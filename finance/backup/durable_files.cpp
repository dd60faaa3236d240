// Durable copies and journaled renames on POSIX. The journal is a text file:
// one "from\tto" line per rename and a last line "end N"; names are GBK, whose
// bytes are never a tab or a line end. A journal without its last line was
// never made durable and counts as none.
#include "durable_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "finance/backup/backup_names.h"
#include "runtime/gbk.h"

namespace tavrin::backup {

namespace {

constexpr std::string_view kPartSuffix = ".tavrin-part";
constexpr std::string_view kJournal = "tavrin-renames.journal";
constexpr size_t kCopyBlock = size_t(1) << 20;

std::atomic<void (*)(const char*)> gStepHook{nullptr};

std::string Native(const std::string& gbkDir, std::string_view gbkName) {
    return NativePath(InDirectory(gbkDir, gbkName));
}

// Closes the descriptor when the scope ends.
struct Fd {
    int fd = -1;
    explicit Fd(int f) : fd(f) {}
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
};

int WriteAll(int fd, const char* data, size_t n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, data, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        data += w;
        n -= size_t(w);
    }
    return 0;
}

int SyncDirectory(const std::string& gbkDir) {
    StepPoint("sync directory");
    Fd dir(::open(NativePath(gbkDir).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.fd < 0) return errno;
    return ::fsync(dir.fd) == 0 ? 0 : errno;
}

bool ReadWhole(const std::string& native, std::string* out) {
    Fd fd(::open(native.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.fd < 0) return false;
    out->clear();
    char block[65536];
    for (;;) {
        const ssize_t r = ::read(fd.fd, block, sizeof block);
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) return false;
        if (r == 0) return true;
        out->append(block, size_t(r));
    }
}

// The renames of a complete journal; false when it is not one.
bool ParseJournal(const std::string& text, std::vector<Rename>* renames) {
    renames->clear();
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = text.find('\n', at);
        if (end == std::string::npos) return false;
        const std::string line = text.substr(at, end - at);
        at = end + 1;
        if (line.rfind("end ", 0) == 0)
            return at == text.size() && line == "end " + std::to_string(renames->size());
        const size_t tab = line.find('\t');
        if (tab == std::string::npos || tab == 0 || tab + 1 == line.size()) return false;
        renames->push_back({line.substr(0, tab), line.substr(tab + 1), 0});
    }
    return false;
}

void DoRenames(const std::string& gbkDir, std::vector<Rename>& renames) {
    for (Rename& r : renames) {
        StepPoint("rename");
        r.error =
            ::rename(Native(gbkDir, r.from).c_str(), Native(gbkDir, r.to).c_str()) == 0 ? 0 : errno;
    }
}

}  // namespace

void SetStepHook(void (*hook)(const char* step)) {
    gStepHook.store(hook);
}

void StepPoint(const char* step) {
    if (auto* hook = gStepHook.load(std::memory_order_relaxed)) hook(step);
}

std::string TemporaryName(std::string_view gbkName) {
    return std::string(gbkName) + std::string(kPartSuffix);
}

int CopyBytesSynced(const std::string& gbkSource, const std::string& gbkTarget) {
    Fd in(::open(NativePath(gbkSource).c_str(), O_RDONLY | O_CLOEXEC));
    if (in.fd < 0) return errno;
    StepPoint("create");
    Fd out(::open(NativePath(gbkTarget).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (out.fd < 0) return errno;
    std::string block(kCopyBlock, '\0');
    for (;;) {
        const ssize_t r = ::read(in.fd, block.data(), block.size());
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) return errno;
        if (r == 0) break;
        StepPoint("write");
        if (int e = WriteAll(out.fd, block.data(), size_t(r)); e != 0) return e;
    }
    StepPoint("sync");
    if (::fdatasync(out.fd) != 0) return errno;
    const int fd = out.fd;
    out.fd = -1;
    return ::close(fd) == 0 ? 0 : errno;
}

bool SameBytes(const std::string& gbkA, const std::string& gbkB) {
    std::string a, b;
    return ReadWhole(NativePath(gbkA), &a) && ReadWhole(NativePath(gbkB), &b) && a == b;
}

int CommitRenames(const std::string& gbkDir, std::vector<Rename>& renames) {
    if (renames.empty()) return 0;
    std::string journal;
    for (const Rename& r : renames) journal += r.from + "\t" + r.to + "\n";
    journal += "end " + std::to_string(renames.size()) + "\n";
    const std::string part = TemporaryName(kJournal);
    {
        StepPoint("create journal");
        Fd fd(::open(Native(gbkDir, part).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
        if (fd.fd < 0) return errno;
        StepPoint("write journal");
        if (int e = WriteAll(fd.fd, journal.data(), journal.size()); e != 0) return e;
        StepPoint("sync journal");
        if (::fdatasync(fd.fd) != 0) return errno;
    }
    StepPoint("rename journal");
    if (::rename(Native(gbkDir, part).c_str(), Native(gbkDir, kJournal).c_str()) != 0) {
        const int e = errno;
        ::unlink(Native(gbkDir, part).c_str());
        return e;
    }
    // From here on the renames happen, now or at the next look at the directory.
    (void)SyncDirectory(gbkDir);
    DoRenames(gbkDir, renames);
    (void)SyncDirectory(gbkDir);
    (void)RemoveDurably(gbkDir, kJournal);
    return 0;
}

void FinishInterruptedRenames(const std::string& gbkDir) {
    std::string text;
    if (ReadWhole(Native(gbkDir, kJournal), &text)) {
        std::vector<Rename> renames;
        if (ParseJournal(text, &renames)) {
            // A rename already done left no temporary file behind.
            std::vector<Rename> left;
            for (const Rename& r : renames)
                if (FileExists(InDirectory(gbkDir, r.from))) left.push_back(r);
            DoRenames(gbkDir, left);
            (void)SyncDirectory(gbkDir);
        }
        (void)RemoveDurably(gbkDir, kJournal);
    }
    DIR* dir = opendir(NativePath(gbkDir).c_str());
    if (dir == nullptr) return;
    std::vector<std::string> leftovers;
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name.size() > kPartSuffix.size() &&
            name.substr(name.size() - kPartSuffix.size()) == kPartSuffix)
            leftovers.push_back(Utf8ToGbk(name));
    }
    closedir(dir);
    for (const std::string& name : leftovers) (void)RemoveDurably(gbkDir, name);
}

int RemoveDurably(const std::string& gbkDir, std::string_view gbkName) {
    StepPoint("remove");
    if (::unlink(Native(gbkDir, gbkName).c_str()) != 0 && errno != ENOENT) return errno;
    return SyncDirectory(gbkDir);
}

bool IsInTheWay(const std::string& gbkPath) {
    struct stat st;
    return ::lstat(NativePath(gbkPath).c_str(), &st) == 0 && !S_ISREG(st.st_mode);
}

bool FileExists(const std::string& gbkPath) {
    struct stat st;
    return ::lstat(NativePath(gbkPath).c_str(), &st) == 0;
}

DirectoryLock::DirectoryLock(const std::string& gbkDir, int32_t waitMs) {
    fd_ = ::open(NativePath(gbkDir).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) return;
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
            held_ = true;
            return;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) return;
        if (std::chrono::steady_clock::now() - start >= std::chrono::milliseconds(waitMs)) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

DirectoryLock::~DirectoryLock() {
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace tavrin::backup
