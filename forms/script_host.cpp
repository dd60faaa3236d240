// The script host over QJSEngine. A bare engine (no extensions installed)
// holds only the language's own built-ins: no Qt object, no console, no
// module loading, no file, network or process access.
#include "forms/script_host.h"

#include <QJSEngine>
#include <QStringList>
#include <cmath>

#include "fm_text_constants.h"
#include "internal/script_watchdog.h"
#include "runtime/gbk.h"

namespace tavrin::forms {

namespace {

constexpr size_t kErrorTextLimit = 255;

bool NamesJScript(std::string_view language) {
    const QString name = GbkToQString(language).trimmed();
    return name.compare(QLatin1String("JScript"), Qt::CaseInsensitive) == 0 ||
           name.compare(QLatin1String("JavaScript"), Qt::CaseInsensitive) == 0;
}

// Cuts a GBK text to at most n bytes without splitting a double-byte character.
std::string CutGbk(std::string text, size_t n) {
    text.resize(GbkWholeCharacterPrefix(text, n));
    return text;
}

// The line of an uncaught exception from the engine's stack entry
// ("function:line:column:file").
int32_t LineOfStack(const QStringList& stack) {
    if (stack.isEmpty()) return 0;
    const QStringList parts = stack.first().split(QLatin1Char(':'));
    return parts.size() > 1 ? parts[1].toInt() : 0;
}

}  // namespace

ScriptHost::ScriptHost(std::string_view language, Limits limits) {
    if (!NamesJScript(language)) {
        error_ = fm_text::ScriptHostUnavailable;
        return;
    }
    engine_ = std::make_unique<QJSEngine>();
    watchdog_ = std::make_unique<ScriptWatchdog>(engine_.get(), limits.time, limits.memoryGrowth);
}

ScriptHost::~ScriptHost() {
    // The watchdog's thread must be gone before the engine it interrupts.
    watchdog_.reset();
    functions_.clear();
    engine_.reset();
}

std::string ScriptHost::finish(const QJSValue& value, bool thrown, int32_t line) {
    if (thrown) {
        QString description = value.isError() ? value.property(QStringLiteral("message")).toString()
                                              : value.toString();
        if (value.isError() && value.hasProperty(QStringLiteral("lineNumber")))
            line = value.property(QStringLiteral("lineNumber")).toInt();
        error_ = CutGbk(QStringToGbk(QStringLiteral("Error: ") + description +
                                     QStringLiteral("; in line ") + QString::number(line)),
                        kErrorTextLimit);
        return {};
    }
    error_.clear();
    if (value.isUndefined() || value.isNull()) return {};
    return QStringToGbk(value.toString());
}

std::string ScriptHost::evaluate(std::string_view gbkExpression) {
    if (!engine_) return {};
    QStringList stack;
    watchdog_->arm();
    const QJSValue value = engine_->evaluate(GbkToQString(gbkExpression), QString(), 1, &stack);
    const bool interrupted = watchdog_->disarm();
    if (interrupted) engine_->collectGarbage();
    // An uncaught exception leaves a stack entry; an interruption an Error value.
    return finish(value, interrupted || !stack.isEmpty() || value.isError(), LineOfStack(stack));
}

int32_t ScriptHost::compileFunction(std::string_view gbkSource) {
    if (!engine_) return -1;
    watchdog_->arm();
    QJSValue f = engine_->evaluate(GbkToQString(gbkSource));
    watchdog_->disarm();
    if (!f.isCallable()) return -1;
    functions_.push_back(f);
    return int32_t(functions_.size() - 1);
}

std::string ScriptHost::callFunction(int32_t handle, const std::vector<double>& arguments) {
    if (!engine_ || handle < 0 || size_t(handle) >= functions_.size()) return {};
    QJSValueList args;
    args.reserve(qsizetype(arguments.size()));
    for (double a : arguments) args.append(QJSValue(a));
    watchdog_->arm();
    const QJSValue value = functions_[size_t(handle)].call(args);
    const bool interrupted = watchdog_->disarm();
    return finish(value, interrupted || value.isError(), 1);
}

}  // namespace tavrin::forms
