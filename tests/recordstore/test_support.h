// Shared helpers of the RecordStore tests: a temporary directory that goes
// away with the test, GBK literals, raw file access and command calls.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "internal/record_file.h"
#include "recordstore/database_manager.h"
#include "recordstore/record_commands.h"
#include "runtime/commands.h"
#include "runtime/errors.h"
#include "runtime/gbk.h"
#include "runtime/message_box.h"

// A failed comparison of codes shows the number, as the application would see it.
namespace tavrin::rs {
inline void PrintTo(Code code, std::ostream* os) {
    *os << ToInt(code);
}
}  // namespace tavrin::rs

namespace rstest {

// A directory of its own for a test, removed with everything in it when the
// test is done. Without a base it is made in the system's temporary folder;
// with one (say /dev/shm, where syncs cost nothing) it is made there when it
// can be, else in the temporary folder after all.
class TempDir {
  public:
    TempDir() : TempDir("rs-test") {}
    explicit TempDir(const char* prefix, const char* preferredBase = nullptr) {
        if (preferredBase != nullptr) {
            dir_.emplace(QString::fromUtf8(preferredBase) + "/" + prefix + "-XXXXXX");
            if (!dir_->isValid()) dir_.reset();
        }
        if (!dir_) dir_.emplace(QDir::tempPath() + "/" + prefix + "-XXXXXX");
        if (!dir_->isValid()) {
            std::fprintf(stderr, "no temporary directory: %s\n",
                         dir_->errorString().toLocal8Bit().constData());
            std::abort();
        }
        path_ = dir_->path().toStdString();
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    // A GBK path of a file in the directory (name given in UTF-8).
    std::string gbk(const std::string& utf8Name) const {
        return tavrin::Utf8ToGbk(path_ + "/" + utf8Name);
    }
    std::string native(const std::string& utf8Name) const { return path_ + "/" + utf8Name; }

  private:
    std::optional<QTemporaryDir> dir_;
    std::string path_;
};

inline std::string G(const char* utf8) {
    return tavrin::Utf8ToGbk(utf8);
}

inline std::vector<uint8_t> ReadAll(const std::string& nativePath) {
    std::ifstream in(nativePath, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), {});
}
inline void WriteAll(const std::string& nativePath, const std::vector<uint8_t>& bytes) {
    std::ofstream out(nativePath, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}
inline uint64_t FileSize(const std::string& nativePath) {
    std::error_code ec;
    auto n = std::filesystem::file_size(nativePath, ec);
    return ec ? 0 : n;
}
inline int32_t I32At(const std::vector<uint8_t>& b, size_t off) {
    int32_t v;
    std::memcpy(&v, &b[off], 4);
    return v;
}
inline void PutI32At(std::vector<uint8_t>& b, size_t off, int32_t v) {
    std::memcpy(&b[off], &v, 4);
}

// The income file's schema.
inline std::vector<tavrin::rs::FieldDefinition> IncomeFields() {
    return {{G("收入类型"), 10, 20},
            {G("收入金额"), 5, 20},
            {G("收入时间"), 8, 20},
            {G("收入备注信息"), 10, 50}};
}

// Command calls with Values.
template <typename... Args>
tavrin::Value Cmd(tavrin::CommandFunction command, const Args&... args) {
    return tavrin::CallKernel(command, args...);
}
inline tavrin::Value Text(const std::string& gbk) {
    return tavrin::MakeTextRef(gbk.c_str());
}
inline std::string TextResult(const tavrin::Value& v) {
    std::string s(tavrin::TextOf(v));
    tavrin::Free(v.pointer());
    return s;
}

// A fatal runtime error ends the process with 255 after the hook printed it;
// death tests match the printed number and message.
inline int PrintingErrorHook(int32_t number, const char* gbkMessage) {
    std::fprintf(stderr, "fatal %d: %s (last database error %d)\n", number,
                 tavrin::GbkToUtf8(gbkMessage).c_str(), tavrin::LastDatabaseError());
    return 1;
}
#define EXPECT_FATAL(statement, pattern)                     \
    EXPECT_EXIT(                                             \
        {                                                    \
            tavrin::SetErrorHook(rstest::PrintingErrorHook); \
            statement;                                       \
        },                                                   \
        ::testing::ExitedWithCode(255), pattern)

}  // namespace rstest
