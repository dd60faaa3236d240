// What the period views need of every item of a side, kept in memory: its
// serial, amount, period (the year and month parts of its date text) and
// category, in file order, with the sums per period and category. The full
// listing builds it while it reads every record; each add, change, delete,
// undo and redo keeps it current, so a month click, the pie and the trend
// cost the periods and categories, not the items. The file stays the truth:
// the record count and next serial last seen tell when another program has
// changed it, and the index is then built again from the file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "finance/large_block_allocator.h"
#include "finance/running_total.h"

namespace tavrin::finance {

struct ShownPeriod;

// A file's record count and next serial as read from its header.
struct FileStamp {
    int32_t count = -1, nextSerial = -1;
    bool operator==(const FileStamp&) const = default;
};

class ItemIndex {
  public:
    struct Entry {
        int32_t serial;
        float amount;
        uint32_t period;    // into periods()
        uint32_t category;  // into categories()
    };
    struct PeriodParts {
        std::string year, month;  // the date text's parts the period keys compare
    };

    // Forgets every item; the index is not current until built again.
    void clear();
    bool current() const { return current_; }
    // Changes at every clear: what was kept beside an earlier build is void.
    uint64_t generation() const { return generation_; }
    void markCurrent(FileStamp stamp);
    // The index no longer answers for its file (a change it cannot follow).
    void markStale() { current_ = false; }
    const FileStamp& stamp() const { return stamp_; }
    void setStamp(FileStamp stamp) { stamp_ = stamp; }

    // An item at the end of the file; `dateText` as the list shows it, `days`
    // the date-time it was written from (negative when unknown): dates of one
    // day share a period, found again without reading the text.
    void append(int32_t serial, float amount, std::string_view category, std::string_view dateText,
                double days = -1);
    // The entry's new fields; false when no item has the serial.
    bool change(int32_t serial, float amount, std::string_view category, std::string_view dateText);
    // Drops the item; its position, or -1 when no item has the serial.
    int32_t remove(int32_t serial);
    // The position (file order) of the item with the serial, -1 when none.
    int32_t positionOf(int32_t serial) const;

    int32_t size() const { return int32_t(entries_.size()); }
    const Entry& at(int32_t position) const { return entries_[size_t(position)]; }
    const std::vector<PeriodParts>& periods() const { return periods_; }
    const std::vector<std::string>& categories() const { return categories_; }
    // Which periods the shown period holds, by period number.
    std::vector<bool> periodsIn(const ShownPeriod& shown) const;
    // The positions of the items the shown period holds, in file order, and
    // their exact sum.
    std::vector<int32_t> positionsIn(const ShownPeriod& shown, RunningTotal* sum) const;
    // Calls visit(period, category, sum) for every period and category that
    // has items; the sums are exact and current.
    void forEachSum(const std::function<void(uint32_t period, uint32_t category,
                                             const RunningTotal& sum)>& visit) const;
    void reserve(int32_t items) { entries_.reserve(size_t(items)); }

  private:
    struct TextHash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    using TextIds = std::unordered_map<std::string, uint32_t, TextHash, std::equal_to<>>;
    uint32_t periodId(std::string_view dateText, double days = -1);
    uint32_t periodOfText(std::string_view dateText);
    uint32_t partsId(std::string_view dateText);
    uint32_t categoryId(std::string_view category);
    void addToSums(const Entry& e);
    void removeFromSums(const Entry& e);

    std::vector<Entry, LargeBlockAllocator<Entry>> entries_;
    std::vector<PeriodParts> periods_;
    std::vector<std::string> categories_;
    TextIds periodIds_, prefixIds_, categoryIds_;
    std::vector<uint32_t> dayIds_;  // by whole day from 1899-12-30: period + 1, 0 unknown
    bool ascending_ = true;         // serials rise with the position (a lookup can bisect)
    struct Sum {
        RunningTotal sum;
        int32_t items = 0;
    };
    // By period, then category: a handful of periods and categories, so an
    // item's sum is found by two indexings, not a lookup.
    std::vector<std::vector<Sum>> sums_;
    bool current_ = false;
    uint64_t generation_ = 0;
    FileStamp stamp_;
};

// The side's index (income or expense).
ItemIndex& IndexOfSide(bool income);

}  // namespace tavrin::finance
