// The script component and its kind.
#include "forms/script_component.h"

#include "forms/template_format.h"

namespace tavrin::forms {

namespace {
constexpr const char* kDefaultLanguage = "JScript";
}

ScriptControl::ScriptControl(const ControlInit& init) : ComponentControl(init) {
    language_ = setting("language");
    if (language_.empty()) language_ = kDefaultLanguage;
    host_ = std::make_unique<ScriptHost>(language_);
}

bool ScriptControl::readProperty(int number, PropertyData& out) {
    switch (number) {
        case ScriptProp::kLanguage:
            out = PropertyData::Bytes(language_);
            return true;
        case ScriptProp::kErrorText:
            out = PropertyData::Bytes(host_->errorText());
            return true;
        default:
            return false;
    }
}

bool ScriptControl::writeProperty(int number, const PropertyData& in) {
    if (number != ScriptProp::kLanguage) return false;
    language_ = in.bytes;
    host_.reset();
    host_ = std::make_unique<ScriptHost>(language_);
    return true;
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
