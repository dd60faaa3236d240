// The script component (脚本组件): an invisible component holding one script
// host, created with the component's language ("JScript" unless the template
// sets `language`). Its properties: 0 language (writing it creates a new
// host), 1 the last error text (read only).
#pragma once

#include <memory>
#include <string>

#include "forms/controls.h"
#include "forms/script_host.h"

namespace tavrin::forms {

namespace ScriptProp {
constexpr int kLanguage = 0;
constexpr int kErrorText = 1;
}  // namespace ScriptProp

class ScriptControl : public TabledControl<ScriptControl, ComponentControl> {
    Q_OBJECT
  public:
    explicit ScriptControl(const ControlInit& init);
    ScriptHost& host() { return *host_; }
    static const PropertyTable<ScriptControl>& properties();

  private:
    void setLanguage(std::string gbkLanguage);
    std::string language_;  // GBK
    std::unique_ptr<ScriptHost> host_;
};

// Registers the script component kind unless a kind is registered for it already.
void RegisterScriptKind();

}  // namespace tavrin::forms
