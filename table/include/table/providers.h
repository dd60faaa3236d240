// Data providers of the table component: what a data source forwards its
// operations to. The general provider keeps a cell model in memory; the
// database provider serves the records of one record file, which it opens
// itself (outside the open-database list) and writes the grid's edits into.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "forms/control.h"
#include "recordstore/detached_database.h"
#include "table/cell_model.h"

namespace tavrin::rs {
struct Database;
}

namespace tavrin::table {

class ProviderControl : public forms::Control {
    Q_OBJECT
  public:
    using Control::Control;

    virtual int32_t rowCount() const = 0;
    virtual int32_t columnCount() const = 0;
    virtual std::string text(int32_t row, int32_t column) const = 0;
    virtual bool setText(int32_t row, int32_t column, std::string_view gbk) = 0;
    // The cell model behind the provider, when it keeps one (looks, sizes,
    // merges, structure); null for a provider that only serves texts.
    virtual CellModel* cells() { return nullptr; }
    // A column's header (a field name), and the most GBK bytes its cells take (0: any).
    virtual std::string columnTitle(int32_t column) const { return {}; }
    virtual int32_t textLimit(int32_t column) const { return 0; }
    // Rows the person adds and removes in a grid (false when not possible).
    virtual bool appendRow() { return false; }
    virtual bool removeRow(int32_t row) { return false; }
    virtual bool rowsEditable() const { return false; }
    // Reopens the provider's source.
    virtual void reload() {}
    // Lets go of the source (the window is being destroyed).
    void releaseData() override {}

  signals:
    void changed();
};

class GeneralProviderControl : public ProviderControl {
    Q_OBJECT
  public:
    using ProviderControl::ProviderControl;
    int32_t rowCount() const override { return model_.rowCount(); }
    int32_t columnCount() const override { return model_.columnCount(); }
    std::string text(int32_t row, int32_t column) const override {
        return model_.text(row, column);
    }
    bool setText(int32_t row, int32_t column, std::string_view gbk) override;
    CellModel* cells() override { return &model_; }

  private:
    CellModel model_;
};

// Property 0: the record file's name (GBK; relative names are in the program directory).
class DatabaseProviderControl : public ProviderControl {
    Q_OBJECT
  public:
    explicit DatabaseProviderControl(const forms::ControlInit& init);
    ~DatabaseProviderControl() override;

    bool isOpen() const { return db_.isOpen(); }
    int32_t rowCount() const override;
    int32_t columnCount() const override;
    std::string text(int32_t row, int32_t column) const override;
    bool setText(int32_t row, int32_t column, std::string_view gbk) override;
    std::string columnTitle(int32_t column) const override;
    int32_t textLimit(int32_t column) const override;
    bool appendRow() override;
    bool removeRow(int32_t row) override;
    bool rowsEditable() const override { return isOpen(); }
    void reload() override;
    void releaseData() override { close(); }
    bool readProperty(int number, forms::PropertyData& out) override;
    bool writeProperty(int number, const forms::PropertyData& in) override;

  private:
    bool isText(int32_t column) const;
    void close();

    std::string fileName_;
    rs::DetachedDatabase db_;
};

}  // namespace tavrin::table
