// The script host behind the script component: one JavaScript engine that
// evaluates expression texts and hands back their values as text. The engine
// sees nothing of the program (no host objects, files, network or processes),
// and every evaluation runs under a watchdog, so a script that loops or
// allocates without end is interrupted and yields empty text.
#pragma once

#include <QJSValue>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QJSEngine;

namespace tavrin::forms {

class ScriptWatchdog;

class ScriptHost {
  public:
    struct Limits {
        std::chrono::milliseconds time{1000};
        size_t memoryGrowth = size_t(512) << 20;  // resident bytes an evaluation may add
    };

    // `language` (GBK) must name JScript (or JavaScript); any other language
    // leaves the host without an engine.
    explicit ScriptHost(std::string_view language, Limits limits);
    explicit ScriptHost(std::string_view language) : ScriptHost(language, Limits{}) {}
    ~ScriptHost();
    ScriptHost(const ScriptHost&) = delete;
    ScriptHost& operator=(const ScriptHost&) = delete;

    bool created() const { return engine_ != nullptr; }

    // The expression's value as text (GBK): numbers in the language's own
    // number-to-text form, strings as they are, undefined and null empty. A
    // script error, an interruption or a host without engine gives empty text
    // and leaves the error text.
    std::string evaluate(std::string_view gbkExpression);

    // Repeated evaluation of one expression shape: `source` (GBK) must be a
    // function expression; it is compiled once. Returns a handle, or -1 when
    // it does not compile (no error text is kept for that).
    int32_t compileFunction(std::string_view gbkSource);
    // Calls a compiled function with numeric arguments; the result as evaluate's.
    std::string callFunction(int32_t handle, const std::vector<double>& arguments);

    // The last error ("Error: <description>; in line <n>", at most 255 bytes,
    // GBK); empty after a successful evaluation.
    const std::string& errorText() const { return error_; }

  private:
    std::string finish(const QJSValue& value, bool thrown, int32_t line);

    std::unique_ptr<QJSEngine> engine_;
    std::unique_ptr<ScriptWatchdog> watchdog_;
    std::vector<QJSValue> functions_;
    std::string error_;
};

}  // namespace tavrin::forms
