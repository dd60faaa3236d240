// The power-cut recorder of the fault layer. While a power cut is armed it
// remembers, per file, the bytes of every 4 KiB page as the last sync left
// them and the size that sync made durable, and per directory the creations
// and removals no directory sync has made durable. At the cut it puts back
// what the chosen loss drops, as the disk would hold it after the power
// returned, and kills the process.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "internal/file_fault.h"

namespace tavrin::rs {

namespace detail {
std::atomic<bool> gPowerRecording{false};
}

namespace {

constexpr uint64_t kPage = 4096;

using FileKey = std::pair<uint64_t, uint64_t>;  // device, inode

struct Tracked {
    std::string path;
    uint64_t syncedSize = 0;
    // Page number -> its bytes below syncedSize as of the last sync (empty
    // for a page wholly beyond it, which then held nothing durable).
    std::map<uint64_t, std::vector<uint8_t>> pages;
};

struct Entry {
    std::string path;
    bool created = false;          // else removed
    std::vector<uint8_t> content;  // of a removed file
};

std::map<FileKey, Tracked> gFiles;
std::map<int, FileKey> gDescriptors;
std::vector<Entry> gEntries;  // not yet made durable by a directory sync

bool KeyOf(int fd, FileKey* key, uint64_t* size) {
    struct stat st {};
    if (fstat(fd, &st) != 0) return false;
    *key = {uint64_t(st.st_dev), uint64_t(st.st_ino)};
    *size = uint64_t(st.st_size);
    return true;
}

Tracked* TrackedOf(int fd) {
    auto it = gDescriptors.find(fd);
    if (it == gDescriptors.end()) return nullptr;
    auto f = gFiles.find(it->second);
    return f == gFiles.end() ? nullptr : &f->second;
}

// Keeps the page's durable bytes the first time it is about to change.
void Capture(int fd, Tracked& t, uint64_t page) {
    if (t.pages.count(page)) return;
    std::vector<uint8_t> bytes;
    const uint64_t start = page * kPage;
    if (start < t.syncedSize) {
        bytes.resize(size_t(std::min(kPage, t.syncedSize - start)));
        const ssize_t got = pread(fd, bytes.data(), bytes.size(), off_t(start));
        bytes.resize(got > 0 ? size_t(got) : 0);
    }
    t.pages[page] = std::move(bytes);
}

std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::vector<uint8_t> out;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return out;
    uint8_t buffer[65536];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        out.insert(out.end(), buffer, buffer + n);
    ::close(fd);
    return out;
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return;
    if (!bytes.empty()) (void)!::pwrite(fd, bytes.data(), bytes.size(), 0);
    ::close(fd);
}

}  // namespace

void detail::PowerForget() {
    gFiles.clear();
    gDescriptors.clear();
    gEntries.clear();
}

void detail::PowerOpened(int fd, const char* nativePath, bool created) {
    FileKey key;
    uint64_t size = 0;
    if (!KeyOf(fd, &key, &size)) return;
    gDescriptors[fd] = key;
    if (!gFiles.count(key)) gFiles[key] = Tracked{nativePath, created ? 0 : size, {}};
    if (created) gEntries.push_back({nativePath, true, {}});
}

void detail::PowerBeforeWrite(int fd, uint64_t off, uint64_t n) {
    Tracked* t = TrackedOf(fd);
    if (t == nullptr || n == 0) return;
    for (uint64_t page = off / kPage; page <= (off + n - 1) / kPage; ++page) Capture(fd, *t, page);
}

void detail::PowerBeforeTruncate(int fd, uint64_t length) {
    Tracked* t = TrackedOf(fd);
    if (t == nullptr) return;
    // Every durable page from the new end on may be lost to the cut.
    for (uint64_t page = length / kPage; page * kPage < t->syncedSize; ++page)
        Capture(fd, *t, page);
}

void detail::PowerSynced(int fd) {
    Tracked* t = TrackedOf(fd);
    FileKey key;
    uint64_t size = 0;
    if (t == nullptr || !KeyOf(fd, &key, &size)) return;
    t->pages.clear();
    t->syncedSize = size;
}

void detail::PowerClosed(int fd) {
    gDescriptors.erase(fd);
}

void detail::PowerBeforeRemove(const char* nativePath) {
    struct stat st {};
    if (stat(nativePath, &st) != 0) return;
    gEntries.push_back({nativePath, false, ReadFile(nativePath)});
    gFiles.erase({uint64_t(st.st_dev), uint64_t(st.st_ino)});
}

void detail::PowerDirectorySynced(const char* nativeDirectory) {
    std::string dir = nativeDirectory;
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    std::vector<Entry> rest;
    for (Entry& e : gEntries) {
        if (DirectoryOf(e.path) != dir) rest.push_back(std::move(e));
    }
    gEntries.swap(rest);
}

void detail::PowerCut(PowerLoss loss, uint64_t seed) {
    gPowerRecording.store(false);
    std::mt19937_64 random(seed);
    auto drops = [&] {
        return loss == PowerLoss::kAll || (loss == PowerLoss::kRandom && (random() & 1) != 0);
    };
    // Directory entries first: a creation that is lost takes the file with it.
    std::vector<std::string> gone;
    for (const Entry& e : gEntries) {
        if (!drops()) continue;
        if (e.created) {
            ::unlink(e.path.c_str());
            gone.push_back(e.path);
        } else {
            WriteFile(e.path, e.content);
        }
    }
    for (auto& [key, t] : gFiles) {
        bool lost = false;
        for (const std::string& g : gone) lost = lost || g == t.path;
        if (lost) continue;
        const int fd = ::open(t.path.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st {};
        fstat(fd, &st);
        uint64_t size = uint64_t(st.st_size);
        if (size != t.syncedSize && drops()) size = t.syncedSize;
        (void)!ftruncate(fd, off_t(size));
        for (const auto& [page, bytes] : t.pages) {
            if (!drops() || page * kPage >= size) continue;
            // What the last sync left, and nothing durable beyond it.
            std::vector<uint8_t> image(size_t(std::min(kPage, size - page * kPage)), 0);
            std::copy(bytes.begin(), bytes.begin() + long(std::min(bytes.size(), image.size())),
                      image.begin());
            (void)!::pwrite(fd, image.data(), image.size(), off_t(page * kPage));
        }
        ::close(fd);
    }
    kill(getpid(), SIGKILL);
    for (;;) pause();
}

}  // namespace tavrin::rs
