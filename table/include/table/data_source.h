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

class QLabel;

namespace tavrin::table {

class GridControl;

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

    void addGrid(GridControl* grid);
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
    GridControl* firstGrid() const;

    QPointer<ProviderControl> provider_;
    QMetaObject::Connection providerWatch_;
    std::vector<QPointer<GridControl>> grids_;
    PrintSettings settings_;
    QLabel* position_ = nullptr;
    bool resetPending_ = false;
};

}  // namespace tavrin::table
