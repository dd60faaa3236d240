// POSIX side of the file layer: open(2)/pread(2)/pwrite(2)/ftruncate(2) and
// open-file-description locks, which belong to the open file exactly as the
// engine's locks belong to one open database.
#include "internal/file_posix.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "internal/file_fault.h"
#include "recordstore/error_codes.h"

namespace tavrin::rs {

namespace {

std::atomic<int32_t> gLockWaitTime{0};

// Offsets of the four sharing bytes: each opener holds a shared lock on the bytes
// that describe it, and looks for other openers' locks on the bytes it conflicts with.
constexpr uint64_t kHasRead = kSharingBytes + 0;
constexpr uint64_t kHasWrite = kSharingBytes + 1;
constexpr uint64_t kDeniesRead = kSharingBytes + 2;
constexpr uint64_t kDeniesWrite = kSharingBytes + 3;

// Only a file system that has no locks at all answers like this; ENOLCK ("no
// locks available") is a lock that failed and must not count as granted.
bool LockingUnsupported(int error) {
    return error == EINVAL || error == EOPNOTSUPP || error == ENOSYS;
}

Code SetLock(int fd, short type, uint64_t off, uint64_t len) {
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = off_t(off);
    fl.l_len = off_t(len);
    int error = FaultBefore(FileCall::kLock);
    if (error == 0 && fcntl(fd, F_OFD_SETLK, &fl) == 0) return Code::kOk;
    if (error <= 0) error = error < 0 ? ENOLCK : errno;
    if (error == EAGAIN || error == EACCES || error == ENOLCK) return Code::kLockViolation;
    if (LockingUnsupported(error)) return Code::kOk;
    return CodeOfErrno(error);
}

// True when an open file other than ours holds a lock on the byte.
bool OtherHolds(int fd, uint64_t off) {
    struct flock fl {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = off_t(off);
    fl.l_len = 1;
    if (fcntl(fd, F_OFD_GETLK, &fl) != 0) return false;
    return fl.l_type != F_UNLCK;
}

}  // namespace

Sharing SharingFromArgument(int32_t argument) {
    switch (argument) {
        case 1:
            return Sharing::kDenyNone;
        case 2:
            return Sharing::kDenyRead;
        case 3:
            return Sharing::kDenyWrite;
        default:
            return Sharing::kExclusive;
    }
}

Code CodeOfErrno(int error) {
    switch (error) {
        case 0:
            return Code::kOk;
        case ENOENT:
            return Code::kFileNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
        case EINVAL:
            return Code::kBadPath;
        case EMFILE:
        case ENFILE:
            return Code::kTooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case ETXTBSY:
            return Code::kAccessDenied;
        case EBADF:
            return Code::kBadHandle;
        case ESPIPE:
        case EOVERFLOW:
            return Code::kSeekFailed;
        case EIO:
            return Code::kHardIo;
        case EAGAIN:
            return Code::kLockViolation;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return Code::kDiskFull;
        default:
            return Code::kUnknown;
    }
}

Code PosixFile::open(const std::string& nativePath, bool write, Sharing sharing, bool create) {
    close();
    if (nativePath.empty()) return Code::kFileNotFound;
    int flags = (write ? O_RDWR : O_RDONLY) | O_CLOEXEC | O_NONBLOCK;
    if (create) flags |= O_CREAT;
    if (int error = FaultBefore(FileCall::kOpen); error != 0)
        return CodeOfErrno(error < 0 ? EIO : error);
    const bool recording = detail::gPowerRecording.load(std::memory_order_relaxed);
    struct stat before {};
    const bool existed = recording && ::stat(nativePath.c_str(), &before) == 0;
    int fd = ::open(nativePath.c_str(), flags, 0644);
    if (fd < 0) return CodeOfErrno(errno);
    if (recording) detail::PowerOpened(fd, nativePath.c_str(), create && !existed);
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Code::kAccessDenied;  // a directory, a pipe or a device is no database
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    fd_ = fd;
    writable_ = write;
    written_ = false;
    Code code = claimSharing(write, sharing);
    if (code == Code::kOk && create && recording) detail::PowerBeforeTruncate(fd_, 0);
    if (code == Code::kOk && create && ftruncate(fd_, 0) != 0) code = CodeOfErrno(errno);
    if (code == Code::kOk && create) written_ = true;
    if (code != Code::kOk) close();
    return code;
}

// Registers this opener first and looks for conflicting openers second, so that
// two processes racing to open can at worst both fail, never both succeed.
Code PosixFile::claimSharing(bool write, Sharing sharing) const {
    bool denyRead = sharing == Sharing::kDenyRead || sharing == Sharing::kExclusive;
    bool denyWrite = sharing == Sharing::kDenyWrite || sharing == Sharing::kExclusive;
    const uint64_t mine[4] = {kHasRead, write ? kHasWrite : 0, denyRead ? kDeniesRead : 0,
                              denyWrite ? kDeniesWrite : 0};
    for (uint64_t byte : mine) {
        if (byte == 0) continue;
        Code code = SetLock(fd_, F_RDLCK, byte, 1);
        if (code != Code::kOk) return code == Code::kLockViolation ? Code::kSharingViolation : code;
    }
    if (OtherHolds(fd_, kDeniesRead)) return Code::kSharingViolation;
    if (write && OtherHolds(fd_, kDeniesWrite)) return Code::kSharingViolation;
    if (denyRead && OtherHolds(fd_, kHasRead)) return Code::kSharingViolation;
    if (denyWrite && OtherHolds(fd_, kHasWrite)) return Code::kSharingViolation;
    return Code::kOk;
}

void PosixFile::close() {
    if (fd_ >= 0) {
        // What was written reaches the disk before the file is let go: a change
        // confirmed to the person survives a power cut. Closing has no one to
        // report to; writers that must know (the pack) sync before they close.
        if (written_) (void)syncData();
        if (detail::gPowerRecording.load(std::memory_order_relaxed)) detail::PowerClosed(fd_);
        ::close(fd_);  // releases every lock of this open file
    }
    fd_ = -1;
    written_ = false;
}

Code PosixFile::syncData() const {
    if (fd_ < 0) return Code::kBadHandle;
    int error = FaultBefore(FileCall::kSync);
    if (error == 0 && fdatasync(fd_) == 0) {
        if (detail::gPowerRecording.load(std::memory_order_relaxed)) detail::PowerSynced(fd_);
        written_ = false;  // nothing left for closing to sync
        return Code::kOk;
    }
    return CodeOfErrno(error == 0 ? errno : error < 0 ? EIO : error);
}

void PosixFile::startWriteback(uint64_t off, uint64_t len) const {
    if (fd_ >= 0) sync_file_range(fd_, off_t(off), off_t(len), SYNC_FILE_RANGE_WRITE);
}

Code PosixFile::readAt(uint64_t off, void* buffer, size_t n, size_t* got) const {
    *got = 0;
    if (fd_ < 0) return Code::kBadHandle;
    auto* p = static_cast<char*>(buffer);
    if (int error = FaultBefore(FileCall::kRead); error > 0) {
        return CodeOfErrno(error);
    } else if (error < 0) {
        n /= 2;  // a short count: the read stops half-way
    }
    while (*got < n) {
        ssize_t r = ::pread(fd_, p + *got, n - *got, off_t(off + *got));
        if (r < 0) {
            if (errno == EINTR) continue;
            return CodeOfErrno(errno);
        }
        if (r == 0) break;
        *got += size_t(r);
    }
    return Code::kOk;
}

Code PosixFile::writeAt(uint64_t off, const void* buffer, size_t n) const {
    if (fd_ < 0) return Code::kBadHandle;
    if (!writable_) return Code::kAccessDenied;  // opened for reading only
    auto* p = static_cast<const char*>(buffer);
    size_t done = 0;
    written_ = true;
    const int fault = FaultBefore(FileCall::kWrite);
    if (fault > 0) return CodeOfErrno(fault);
    // A short count: half the bytes land, then the disk is full.
    const size_t limit = fault < 0 ? n / 2 : n;
    if (detail::gPowerRecording.load(std::memory_order_relaxed))
        detail::PowerBeforeWrite(fd_, off, limit);
    while (done < limit) {
        ssize_t r = ::pwrite(fd_, p + done, n - done, off_t(off + done));
        if (r < 0) {
            if (errno == EINTR) continue;
            return CodeOfErrno(errno);
        }
        if (r == 0) return Code::kDiskFull;
        done += size_t(r);
    }
    return limit < n ? Code::kDiskFull : Code::kOk;
}

Code PosixFile::size(uint64_t* out) const {
    *out = 0;
    if (fd_ < 0) return Code::kBadHandle;
    struct stat st {};
    if (fstat(fd_, &st) != 0) return CodeOfErrno(errno);
    *out = uint64_t(st.st_size);
    return Code::kOk;
}

Code PosixFile::identity(uint64_t* device, uint64_t* inode) const {
    *device = *inode = 0;
    struct stat st {};
    if (fd_ < 0 || fstat(fd_, &st) != 0) return Code::kBadHandle;
    *device = uint64_t(st.st_dev);
    *inode = uint64_t(st.st_ino);
    return Code::kOk;
}

Code PosixFile::truncate(uint64_t length) const {
    if (fd_ < 0) return Code::kBadHandle;
    if (!writable_) return Code::kAccessDenied;
    written_ = true;
    if (int error = FaultBefore(FileCall::kTruncate); error != 0) {
        return CodeOfErrno(error < 0 ? EIO : error);
    }
    if (detail::gPowerRecording.load(std::memory_order_relaxed))
        detail::PowerBeforeTruncate(fd_, length);
    while (ftruncate(fd_, off_t(length)) != 0) {
        if (errno != EINTR) return CodeOfErrno(errno);
    }
    return Code::kOk;
}

Code PosixFile::lockRange(uint64_t off, uint64_t len) const {
    if (fd_ < 0) return Code::kBadHandle;
    // A read-only open file can only take shared locks; they still exclude writers.
    return SetLock(fd_, writable_ ? F_WRLCK : F_RDLCK, off, len);
}

Code PosixFile::unlockRange(uint64_t off, uint64_t len) const {
    if (fd_ < 0) return Code::kBadHandle;
    return SetLock(fd_, F_UNLCK, off, len);
}

Code RemoveFile(const std::string& nativePath) {
    if (int error = FaultBefore(FileCall::kRemove); error != 0) {
        return CodeOfErrno(error < 0 ? EIO : error);
    }
    if (detail::gPowerRecording.load(std::memory_order_relaxed))
        detail::PowerBeforeRemove(nativePath.c_str());
    if (::unlink(nativePath.c_str()) == 0 || errno == ENOENT) return Code::kOk;
    return CodeOfErrno(errno);
}

Code SyncDirectoryOf(const std::string& nativePath) {
    size_t slash = nativePath.rfind('/');
    std::string dir = slash == std::string::npos ? "." : nativePath.substr(0, slash + 1);
    int error = FaultBefore(FileCall::kSync);
    if (error != 0) return CodeOfErrno(error < 0 ? EIO : error);
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return CodeOfErrno(errno);
    Code code = fsync(fd) == 0 || errno == EINVAL ? Code::kOk : CodeOfErrno(errno);
    ::close(fd);
    if (code == Code::kOk && detail::gPowerRecording.load(std::memory_order_relaxed))
        detail::PowerDirectorySynced(dir.c_str());
    return code;
}

int32_t LockWaitTime() {
    return gLockWaitTime.load();
}
void SetLockWaitTime(int32_t ms) {
    gLockWaitTime.store(ms);
}

uint64_t TickCount() {
    struct timespec ts {};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return uint64_t(ts.tv_sec) * 1000 + uint64_t(ts.tv_nsec) / 1000000;
}

void PauseBeforeRetry() {
    uint64_t ms = 20 + TickCount() % 20;
    struct timespec ts {
        time_t(0), long(ms * 1000000)
    };
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

}  // namespace tavrin::rs
