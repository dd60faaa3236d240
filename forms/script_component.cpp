// The script component and its kind.
#include "forms/script_component.h"

#include "forms/property_table.h"
#include "forms/template_format.h"

namespace tavrin::forms {

namespace {
constexpr const char* kDefaultLanguage = "JScript";
}

ScriptControl::ScriptControl(const ControlInit& init) : TabledControl(init) {
    language_ = setting("language");
    if (language_.empty()) language_ = kDefaultLanguage;
    host_ = std::make_unique<ScriptHost>(language_);
}

void ScriptControl::setLanguage(std::string gbkLanguage) {
    language_ = std::move(gbkLanguage);
    host_.reset();  // the old host goes before the new one starts
    host_ = std::make_unique<ScriptHost>(language_);
}

const PropertyTable<ScriptControl>& ScriptControl::properties() {
    using S = ScriptControl;
    using namespace DataKind;
    static const PropertyTable<S> table{
        {ScriptProp::kLanguage, kText, [](S& c) { return TextData(c.language_); },
         [](S& c, const PropertyData& in) { c.setLanguage(in.bytes); }},
        {ScriptProp::kErrorText, kText, [](S& c) { return TextData(c.host_->errorText()); },
         nullptr},
    };
    return table;
}

void RegisterScriptKind() {
    if (FindControlKind(TypeId::kScript)) return;
    RegisterControlKind(
        TypeId::kScript,
        ControlKind{[](const ControlInit& init) -> std::unique_ptr<Control> {
                        return std::make_unique<ScriptControl>(init);
                    },
                    {{"language", DataKind::kText}, {"errorText", DataKind::kText}}});
}

}  // namespace tavrin::forms
