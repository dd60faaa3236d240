// System commands on Qt and POSIX.
#include "runtime/kernel/system_commands.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <cerrno>
#include <string>

#include "kernel_text_constants.h"
#include "runtime/gbk.h"
#include "runtime/kernel/conversion_commands.h"
#include "runtime/kernel/kernel_support.h"
#include "runtime/message_box.h"
#include "runtime/process.h"

namespace tavrin {

using kernel::ArgAt;
using kernel::TextArg;

namespace {

bool WriteAll(int fd, const char* p, size_t n) {
    while (n > 0) {
        ssize_t w = ::write(fd, p, n);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) return false;
        p += w;
        n -= size_t(w);
    }
    return true;
}

// Copies into a fresh file beside the target and renames it over the target, so
// that a failed copy never leaves a half-written target behind.
bool CopyRegularFile(const std::string& source, const std::string& target) {
    int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    struct stat st {};
    if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(in);
        return false;
    }
    std::string temp = target + ".copy-XXXXXX";
    int out = ::mkstemp(temp.data());
    if (out < 0) {
        ::close(in);
        return false;
    }
    bool ok = true;
    char buffer[1 << 16];
    for (;;) {
        ssize_t r = ::read(in, buffer, sizeof buffer);
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) ok = false;
        if (r <= 0) break;
        if (!WriteAll(out, buffer, size_t(r))) {
            ok = false;
            break;
        }
    }
    ok = ok && ::fchmod(out, st.st_mode & 07777) == 0 && ::fsync(out) == 0;
    ok = (::close(out) == 0) && ok;
    ::close(in);
    ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    // The new name survives a power cut only once its directory is synced.
    if (ok) {
        const size_t slash = target.rfind('/');
        const std::string dir = slash == std::string::npos ? "." : target.substr(0, slash + 1);
        const int d = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (d >= 0) {
            ok = ::fsync(d) == 0 || errno == EINVAL;
            ::close(d);
        }
    }
    return ok;
}

}  // namespace

void MessageBox(Value* result, int32_t argc, const Value* argv) {
    const Value& message = ArgAt(argc, argv, 0);
    std::string text;
    if (IsNumericType(message.type) || message.type == TypeCode::kText ||
        message.type == TypeCode::kBool || message.type == TypeCode::kDateTime)
        text = ValueToText(message);
    uint32_t style = uint32_t(kernel::IntArg(ArgAt(argc, argv, 1)));
    if ((style & kSystemModalStyle) == 0) style |= kTaskModalStyle;
    const Value& captionArg = ArgAt(argc, argv, 2);
    std::string_view caption = captionArg.present()
                                   ? TextArg(captionArg)
                                   : std::string_view(kernel_text::DefaultMessageCaption);
    *result = MakeInt(ShowMessageBox(text, caption, style));
}

void CopyFile(Value* result, int32_t argc, const Value* argv) {
    std::string_view source = TextArg(ArgAt(argc, argv, 0));
    std::string_view target = TextArg(ArgAt(argc, argv, 1));
    bool ok = !source.empty() && !target.empty() &&
              CopyRegularFile(NativePath(source), NativePath(target));
    *result = MakeBool(ok);
}

void ProgramDirectory(Value* result, int32_t, const Value*) {
    kernel::SetTextResult(result, ProgramDirectoryGbk());
}

// Watches one pass of waiting events for the quit message (QEvent::Quit to the
// application, the way Qt carries a quit request) and holds back everything
// after it: the program is ending, so nothing that was waiting behind the quit
// may start application code any more.
class QuitWatch : public QObject {
  public:
    bool quitSeen = false;

  protected:
    bool eventFilter(QObject* receiver, QEvent* e) override {
        if (e->type() == QEvent::Quit && receiver == QCoreApplication::instance()) {
            quitSeen = true;
            return false;
        }
        return quitSeen;
    }
};

void ProcessEvents(Value* result, int32_t, const Value*) {
    *result = Value{};
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr) return;
    QuitWatch watch;
    app->installEventFilter(&watch);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    app->removeEventFilter(&watch);
}

}  // namespace tavrin
