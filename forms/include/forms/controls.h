// The built-in control kinds with the small C++ accessors the kernel commands
// are written over. Look a control up with FindControlAs<T>(window, control).
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>
#include <memory>
#include <string>

#include "forms/control.h"
#include "forms/control_lookup.h"
#include "forms/property_table.h"

namespace tavrin::forms {

class EditByteLimit;

// Edit box: QLineEdit, or QPlainTextEdit when multi-line.
class EditControl : public TabledControl<EditControl> {
    Q_OBJECT
  public:
    explicit EditControl(const ControlInit& init);
    std::string text() const;  // GBK
    void setText(std::string_view gbk);
    QLineEdit* lineEdit() const { return line_; }
    QPlainTextEdit* textEdit() const { return multi_; }
    static const PropertyTable<EditControl>& properties();

  private:
    QLineEdit* line_ = nullptr;
    QPlainTextEdit* multi_ = nullptr;
    EditByteLimit* limit_ = nullptr;  // owned by the edit widget
};

// Label and transparent label.
class LabelControl : public TabledControl<LabelControl> {
    Q_OBJECT
  public:
    explicit LabelControl(const ControlInit& init);
    QLabel* label() const { return label_; }
    static const PropertyTable<LabelControl>& properties();

  private:
    QLabel* label_;
};

// Button (event 0 clicked).
class ButtonControl : public TabledControl<ButtonControl> {
    Q_OBJECT
  public:
    explicit ButtonControl(const ControlInit& init);
    QPushButton* button() const { return button_; }
    static const PropertyTable<ButtonControl>& properties();

  private:
    QPushButton* button_;
};

// Check box and radio button (event 0 clicked by the user).
class CheckControl : public TabledControl<CheckControl> {
    Q_OBJECT
  public:
    explicit CheckControl(const ControlInit& init);
    QAbstractButton* button() const { return button_; }
    bool isChecked() const { return button_->isChecked(); }
    void setChecked(bool on);
    static const PropertyTable<CheckControl>& properties();

  private:
    QAbstractButton* button_;
};

// Group box, shape box and picture box: containers of other controls.
class BoxControl : public Control {
    Q_OBJECT
  public:
    explicit BoxControl(const ControlInit& init);
    QWidget* childContainer() override;
    // The table of the box kind `typeId` (group, shape or picture).
    static const PropertyTable<BoxControl>& properties(uint32_t typeId);
    bool readProperty(int number, PropertyData& out) override;
    bool writeProperty(int number, const PropertyData& in) override;

  private:
    QWidget* inner_ = nullptr;
    std::string picture_;
};

// Combo box: editable unless its style is 1 (drop-down list). Event 1 is raised
// only when the user edits the text, never when the program sets it.
class ComboControl : public TabledControl<ComboControl> {
    Q_OBJECT
  public:
    explicit ComboControl(const ControlInit& init);
    QComboBox* combo() const { return combo_; }
    int32_t count() const { return combo_->count(); }
    // Appends with its data word; returns the index (-1 when refused).
    int32_t addItem(std::string_view gbk, int32_t data = 0);
    std::string itemText(int32_t index) const;  // empty outside 0 .. count-1
    int32_t itemData(int32_t index) const;
    bool deleteItem(int32_t index);
    void clear();
    std::string text() const;
    void setText(std::string_view gbk);
    int32_t current() const { return combo_->currentIndex(); }
    void setCurrent(int32_t index);
    static const PropertyTable<ComboControl>& properties();

  private:
    bool eventFilter(QObject* watched, QEvent* e) override;
    QComboBox* combo_;
};

// List box and check list box. List box events: 0 selection changed by the
// user, 1 double-clicked; check list box event 0: an item was ticked or
// unticked by the user (argument: its index).
class ListBoxControl : public TabledControl<ListBoxControl> {
    Q_OBJECT
  public:
    explicit ListBoxControl(const ControlInit& init);
    QListWidget* list() const { return list_; }
    bool checkable() const { return checkable_; }
    int32_t count() const { return list_->count(); }
    int32_t addItem(std::string_view gbk, int32_t data = 0);
    std::string itemText(int32_t index) const;
    int32_t itemData(int32_t index) const;
    bool deleteItem(int32_t index);
    void clear();
    bool isChecked(int32_t index) const;  // false for an invalid index
    bool setChecked(int32_t index, bool checked);
    int32_t current() const;
    void setCurrent(int32_t index);
    static const PropertyTable<ListBoxControl>& properties();

  private:
    QListWidget* list_;
    bool checkable_;
    bool programmatic_ = false;
};

// Date-times as the program keeps them (days since 1899-12-30, fraction = time).
double DateTimeToDays(const QDateTime& t);
QDateTime DaysToDateTime(double days);

// Date picker: its value is a date-time (days since 1899-12-30).
class DatePickerControl : public TabledControl<DatePickerControl> {
    Q_OBJECT
  public:
    explicit DatePickerControl(const ControlInit& init);
    QDateTimeEdit* editor() const { return edit_; }
    double value() const;
    void setValue(double days);
    static const PropertyTable<DatePickerControl>& properties();

  private:
    QDateTimeEdit* edit_;
};

// Color picker: a button showing its colour; event 0 when the user picked one.
class ColorPickerControl : public TabledControl<ColorPickerControl> {
    Q_OBJECT
  public:
    explicit ColorPickerControl(const ControlInit& init);
    uint32_t color() const { return color_; }  // 0x00BBGGRR
    void setColor(uint32_t bgr);
    static const PropertyTable<ColorPickerControl>& properties();

  private:
    QPushButton* button_;
    uint32_t color_ = 0;
};

// Common dialog component: kind 0 font, 1 colour, 2 open file, 3 save file.
class CommonDialogControl : public TabledControl<CommonDialogControl> {
    Q_OBJECT
  public:
    explicit CommonDialogControl(const ControlInit& init);
    // Runs the dialog (through the dialog seam); true when the user confirmed.
    bool open();
    int32_t kind() const { return kind_; }
    const std::string& fontRecord() const { return font_; }
    void setFontRecord(const std::string& record) { font_ = record; }
    uint32_t color() const { return color_; }
    const std::string& fileName() const { return fileName_; }  // GBK
    static const PropertyTable<CommonDialogControl>& properties();

  private:
    int32_t kind_ = 0;
    std::string font_;
    uint32_t color_ = 0;
    std::string fileName_, title_, filter_;
};

// Timer component: event 0 every interval (0 = stopped).
class TimerControl : public TabledControl<TimerControl> {
    Q_OBJECT
  public:
    explicit TimerControl(const ControlInit& init);
    int32_t interval() const { return interval_; }
    void setInterval(int32_t ms);
    static const PropertyTable<TimerControl>& properties();

  private:
    QTimer timer_;
    int32_t interval_ = 0;
};

// Printer component: holds the QPrinter the print commands configure and draw on.
class PrinterControl : public TabledControl<PrinterControl> {
    Q_OBJECT
  public:
    explicit PrinterControl(const ControlInit& init);
    // Created on first use (high resolution; a PDF file when no printer is set up).
    QPrinter* printer();
    const std::string& documentTitle() const { return title_; }  // GBK
    static const PropertyTable<PrinterControl>& properties();

  private:
    std::unique_ptr<QPrinter> printer_;
    std::string title_;
};

// Invisible components whose own behaviour later layers add (providers,
// record set, script component, field information): an object with settings.
class ComponentControl : public Control {
    Q_OBJECT
  public:
    explicit ComponentControl(const ControlInit& init);
    std::string setting(const std::string& gbkKey) const;
};

// Grid: a table view; the data source a later layer connects fills it.
class GridControl : public Control {
    Q_OBJECT
  public:
    explicit GridControl(const ControlInit& init);
    QTableView* view() const { return view_; }

  private:
    QTableView* view_;
};

// A visible placeholder for kinds whose widget a later layer registers
// (table data source, charts): a framed panel with the control's name.
class PanelControl : public Control {
    Q_OBJECT
  public:
    explicit PanelControl(const ControlInit& init);
};

}  // namespace tavrin::forms
