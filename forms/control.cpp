// Control base class, the kind registry, fonts and colours.
#include "forms/control.h"

#include <QColor>
#include <QFont>
#include <QFontDatabase>
#include <cmath>
#include <cstring>
#include <map>
#include <unordered_set>

#include "forms/events.h"
#include "forms/template_format.h"
#include "runtime/gbk.h"

namespace tavrin::forms {

namespace {
std::map<uint32_t, ControlKind>& Registry() {
    static auto* r = new std::map<uint32_t, ControlKind>;
    return *r;
}
// Every control that exists, so that a control object handed in from outside
// is checked before it is used.
std::unordered_set<const void*>& LiveControls() {
    static auto* live = new std::unordered_set<const void*>;
    return *live;
}
}  // namespace

bool IsLiveControl(const void* object) {
    return object != nullptr && LiveControls().count(object) != 0;
}

ValueClass ClassOfDataKind(uint16_t k) {
    switch (k) {
        case DataKind::kInt:
        case DataKind::kSelection:
        case DataKind::kColor:
        case DataKind::kPick:
        case DataKind::kPickIndex:
        case DataKind::kPickMask:
            return ValueClass::Int32;
        case DataKind::kDouble:
        case DataKind::kDateTime:
            return ValueClass::Int64;
        case DataKind::kBool:
            return ValueClass::Bool;
        case DataKind::kPicture:
        case DataKind::kIcon:
        case DataKind::kCursor:
        case DataKind::kSound:
        case DataKind::kImageList:
        case DataKind::kCustomData:
            return ValueClass::Bytes;
        case DataKind::kFont:
            return ValueClass::Font;
        default:
            return ValueClass::Text;
    }
}

PropertyData PropertyData::Double(double v) {
    int64_t bits;
    std::memcpy(&bits, &v, 8);
    return {bits, {}};
}

double PropertyData::asDouble() const {
    double v;
    std::memcpy(&v, &number, 8);
    return v;
}

Control::Control(const ControlInit& init)
    : windowId_(init.windowId), itemId_(init.item->id), window_(init.window), item_(init.item) {
    LiveControls().insert(static_cast<const void*>(this));
}

Control::~Control() {
    LiveControls().erase(static_cast<const void*>(this));
    if (widget_) widget_->deleteLater();
}

void Control::setWidget(QWidget* w, std::initializer_list<QWidget*> inputChildren) {
    widget_ = w;
    if (!w) return;
    if (item_->typeId != TypeId::kWindow) {
        w->setGeometry(item_->left, item_->top, std::max(0, item_->width),
                       std::max(0, item_->height));
        w->setEnabled(!(item_->flags & kStateDisabled));
    }
    attachEvents(w, inputChildren);
}

void Control::attachEvents(QWidget* surface, std::initializer_list<QWidget*> inputChildren) {
    auto* filter = new CommonEventFilter(this, surface);
    surface->installEventFilter(filter);
    for (QWidget* c : inputChildren)
        if (c) c->installEventFilter(filter);
}

bool Control::hasHandler(int32_t eventNumber) const {
    // Bindings may come from the item an origin id points to; the dispatch decides.
    if (item_->originId != 0) return true;
    return item_->handlerFor(eventNumber).has_value();
}

Value Control::raise(int32_t eventNumber, std::initializer_list<int32_t> args,
                     std::optional<Value> defaultResult) {
    // A control not yet in its window's table, or released with its window (and
    // waiting for deletion), raises nothing.
    if (!isAttached()) return defaultResult ? *defaultResult : Value{};
    EventCall call;
    call.windowId = windowId_;
    call.itemId = itemId_;
    call.eventNumber = eventNumber;
    for (int32_t a : args) {
        if (call.argCount == 12) break;
        call.args[call.argCount++] = EventArgument{uint32_t(a), 0, TypeCode::kInt, 0};
    }
    if (defaultResult) {
        call.wantsResult = true;
        call.result = *defaultResult;
    }
    // The control may be released by the handler: keep nothing of `this` after it.
    DispatchEvent(call);
    return defaultResult ? call.result : Value{};
}

void RegisterControlKind(uint32_t typeId, ControlKind kind) {
    Registry()[typeId] = std::move(kind);
}

const ControlKind* FindControlKind(uint32_t typeId) {
    auto it = Registry().find(typeId);
    return it == Registry().end() ? nullptr : &it->second;
}

QFont DefaultGuiFont() {
    QFont f(QStringLiteral("WenQuanYi Micro Hei"));
    f.setPointSize(9);
    return f;
}

std::string FontToRecord(const QFont& font) {
    std::string rec(kFontRecordSize, '\0');
    auto put32 = [&](size_t at, int32_t v) { std::memcpy(&rec[at], &v, 4); };
    const double points =
        font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 72.0 / 96.0;
    put32(FontField::kHeight, -int32_t(std::lround(points * 96.0 / 72.0)));
    put32(FontField::kWeight, font.bold() ? 700 : 400);
    rec[FontField::kItalic] = font.italic() ? 1 : 0;
    rec[FontField::kUnderline] = font.underline() ? 1 : 0;
    rec[FontField::kStrikeOut] = font.strikeOut() ? 1 : 0;
    rec[FontField::kCharSet] = char(134);
    std::string face = QStringToGbk(font.family());
    if (face.size() > 31) face.resize(31);
    std::memcpy(&rec[FontField::kFaceName], face.data(), face.size());
    return rec;
}

QFont FontFromRecord(const std::string& record) {
    if (record.size() < kFontRecordSize) return DefaultGuiFont();
    auto get32 = [&](size_t at) {
        int32_t v;
        std::memcpy(&v, &record[at], 4);
        return v;
    };
    const char* face = record.data() + FontField::kFaceName;
    std::string faceGbk(face, strnlen(face, FontField::kFaceNameSize));
    QFont f(faceGbk.empty() ? DefaultGuiFont().family() : GbkToQString(faceGbk));
    int32_t height = get32(FontField::kHeight);
    int points = height < 0   ? int(std::lround(-height * 72.0 / 96.0))
                 : height > 0 ? int(std::lround(height * 72.0 / 96.0))
                              : 9;
    f.setPointSize(std::max(1, points));
    f.setBold(get32(FontField::kWeight) >= 700);
    f.setItalic(record[FontField::kItalic] != 0);
    f.setUnderline(record[FontField::kUnderline] != 0);
    f.setStrikeOut(record[FontField::kStrikeOut] != 0);
    return f;
}

}  // namespace tavrin::forms
