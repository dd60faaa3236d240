// A live control of a created window, and the registry of control kinds
// through which every kind (built-in or supplied by a higher layer, such as the
// charts) creates its widget and reads and writes its own properties.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "forms/event_numbers.h"  // the numbers raise() takes, by kind
#include "forms/font_record.h"
#include "forms/template_reader.h"
#include "runtime/process.h"

namespace tavrin::forms {

// Property data kinds of a kind's property table (how raw data becomes a Value).
namespace DataKind {
constexpr uint16_t kInt = 1000;  // one of the 32-bit kinds (ClassOfDataKind)
constexpr uint16_t kColor = 1006;
constexpr uint16_t kPick = 1014;
constexpr uint16_t kDouble = 1002;  // 64-bit
constexpr uint16_t kBool = 1003;
constexpr uint16_t kDateTime = 1004;  // 64-bit
constexpr uint16_t kText = 1005;      // any kind not listed elsewhere reads as text
constexpr uint16_t kPicture = 1009;   // one of the byte-set kinds
constexpr uint16_t kIcon = 1010;
constexpr uint16_t kCursor = 1011;
constexpr uint16_t kImageList = 1023;
constexpr uint16_t kCustomData = 1024;
constexpr uint16_t kFont = 1013;
// The further 32-bit kinds (selections and picks) and the sound kind.
constexpr uint16_t kSelection = 1001;
constexpr uint16_t kPickIndex = 1015;
constexpr uint16_t kPickMask = 1017;
constexpr uint16_t kSound = 1012;
}  // namespace DataKind

enum class ValueClass { Int32, Int64, Bool, Bytes, Font, Text };
ValueClass ClassOfDataKind(uint16_t dataKind);

struct PropertyInfo {
    const char* name;  // English name, for diagnostics
    uint16_t dataKind;
};

// Raw property data as a kind reads and writes it: numbers (64-bit kinds as the
// double's bit pattern) in `number`, texts (GBK), byte data and font records in `bytes`.
struct PropertyData {
    int64_t number = 0;
    std::string bytes;

    static PropertyData Int(int64_t v) { return {v, {}}; }
    static PropertyData Double(double v);
    static PropertyData Bytes(std::string b) { return {0, std::move(b)}; }
    double asDouble() const;
    int32_t asInt() const { return int32_t(number); }
};

class Control;

// What a control asks of the window system that made it: to be counted among
// the live controls while it exists, to have its widget's common events
// raised, and to have the events it raises dispatched.
class ControlServices {
  public:
    virtual void controlCreated(const Control* control) = 0;
    virtual void controlDestroyed(const Control* control) = 0;
    virtual void attachCommonEvents(Control* control, QWidget* surface,
                                    std::initializer_list<QWidget*> inputChildren) = 0;
    virtual bool dispatchEvent(EventCall& call) = 0;

  protected:
    ~ControlServices() = default;
};

struct ControlInit {
    uint32_t windowId = 0;
    ItemTemplate* item = nullptr;  // the control's template record, a record of `window`
    QWidget* parent = nullptr;     // the container widget the control belongs in
    // The template the record belongs to, kept by the control while it exists.
    std::shared_ptr<WindowTemplate> window;
    // The window system that creates the control; a control without it stops the program.
    ControlServices* services = nullptr;
};

class Control : public QObject {
    Q_OBJECT
  public:
    explicit Control(const ControlInit& init);
    ~Control() override;

    uint32_t windowId() const { return windowId_; }
    uint32_t itemId() const { return itemId_; }
    uint32_t typeId() const { return item_->typeId; }
    ItemTemplate& item() const { return *item_; }

    // The window layer attaches a control once its window's table holds it and
    // releases it when the window lets go of it; only an attached control
    // that is not released raises events.
    void attach() { state_ = State::kAttached; }
    void release() { state_ = State::kReleased; }
    bool isAttached() const { return state_ == State::kAttached; }

    // The control's widget; null for invisible components (timer, printer, ...).
    QWidget* widget() const { return widget_; }
    // The widget that holds this control's child controls (group, shape, picture, pages).
    virtual QWidget* childContainer() { return widget_; }

    // Type-specific properties by number (the property index minus 8).
    virtual bool readProperty(int number, PropertyData& out) { return false; }
    virtual bool writeProperty(int number, const PropertyData& in) { return false; }

    // Called once every control of the window exists.
    virtual void windowCreated() {}
    // Called when the window is being destroyed, before its event 2: first every
    // control commits what the person is still editing, then the data
    // components let go of their files.
    virtual void commitPendingEdits() {}
    virtual void releaseData() {}

    bool hasHandler(int32_t eventNumber) const;
    // Raises event `eventNumber` of this control with int arguments. When
    // `defaultResult` is given the event expects a result; the returned value
    // is the handler's result, or the default when nothing was called.
    Value raise(int32_t eventNumber, std::initializer_list<int32_t> args = {},
                std::optional<Value> defaultResult = std::nullopt);

  protected:
    // Sets the widget, places it at the template rectangle and attaches the
    // common mouse, key and focus events to it (and to `inputChildren`).
    void setWidget(QWidget* w, std::initializer_list<QWidget*> inputChildren = {});
    // Attaches the common events of `surface` (and of its input children) to this control.
    void attachEvents(QWidget* surface, std::initializer_list<QWidget*> inputChildren = {});
    // Sets the widget without placing it or attaching events.
    void adoptWidget(QWidget* w) { widget_ = w; }

  private:
    enum class State { kCreating, kAttached, kReleased };
    uint32_t windowId_;
    uint32_t itemId_;  // kept by value: read after the handler may have released the control
    std::shared_ptr<WindowTemplate> window_;  // keeps `item_` valid when the table is replaced
    ItemTemplate* item_;
    ControlServices& services_;
    QPointer<QWidget> widget_;
    State state_ = State::kCreating;
};

using ControlFactory = std::function<std::unique_ptr<Control>(const ControlInit&)>;
struct ControlKind {
    ControlFactory create;
    std::vector<PropertyInfo> properties;  // by property number (index - 8)
};
// The kind registry and the live controls belong to the window system, which
// answers these (window_system_object.cpp).
// Registers (or replaces) the kind of a type id; built-in kinds register the same way.
void RegisterControlKind(uint32_t typeId, ControlKind kind);
const ControlKind* FindControlKind(uint32_t typeId);

// True when `object` is a control that exists now (any kind, the window's own included).
bool IsLiveControl(const void* object);

}  // namespace tavrin::forms
