// The table data source: the component the Ds commands address. It forwards
// to the provider connected to it (property 0, a provider's control id, or the
// template setting "provider" naming one), keeps the table's print settings,
// and shows a small record navigator for the grids that display it.
#pragma once

#include <QPointer>
#include <vector>

#include "forms/control.h"
#include "table/print_settings.h"
#include "table/providers.h"

class QAbstractItemView;
class QLabel;

namespace tavrin::table {

// What the data source asks of a grid that shows it: its view to move the
// current row in, and its rows built anew from the provider.
class SourceView {
  public:
    virtual QAbstractItemView* itemView() const = 0;
    virtual void rebuild() = 0;
    // The view's last row is the line where a new row is typed.
    virtual bool hasNewRowLine() const = 0;
    virtual bool removeCurrent() = 0;

  protected:
    ~SourceView() = default;
};

class DataSourceControl : public forms::Control {
    Q_OBJECT
  public:
    explicit DataSourceControl(const forms::ControlInit& init);

    // The connected provider, or null.
    ProviderControl* provider() const { return provider_; }
    // Its cell model, when the provider keeps one.
    CellModel* cells() const { return provider_ ? provider_->cells() : nullptr; }
    void connectProvider(ProviderControl* provider);
    // The provider reopens its source and every grid shows it anew.
    void refresh();
    // Tells the grids the content changed; they catch up once, when events run.
    void touch();

    PrintSettings& printSettings() { return settings_; }

    // A grid (the control, for its lifetime, and its view) that shows this source.
    void addView(forms::Control* control, SourceView* view);
    void windowCreated() override;
    bool readProperty(int number, forms::PropertyData& out) override;
    bool writeProperty(int number, const forms::PropertyData& in) override;

  signals:
    // The grids rebuild from the provider (structure, sizes or texts changed).
    void reset();

  private:
    void move(int by);
    void addRow();
    void removeRow();
    void showPosition();
    SourceView* firstView() const;

    QPointer<ProviderControl> provider_;
    QMetaObject::Connection providerWatch_;
    struct Shown {
        QPointer<forms::Control> control;
        SourceView* view;
    };
    std::vector<Shown> views_;
    PrintSettings settings_;
    QLabel* position_ = nullptr;
    bool resetPending_ = false;
};

}  // namespace tavrin::table
