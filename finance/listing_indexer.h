// The item index of a side built on a thread of its own while the listing
// reads the file: the listing formats the rows on one core, the index takes
// the same rows, batch by batch, on the other.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "forms/report_list.h"

namespace tavrin::finance {

class ItemIndex;

// The rows of one batch of the listing with what the index needs beside
// their texts: each row's amount as stored (the cell shows it to the cent).
// The index reads each date from its cell: handing the date-time over as well
// slowed the listing's own thread by a fifth, and the index's thread has the
// time to read the text.
struct IndexedRows {
    forms::ReportListModel::RowBatch rows;  // number, amount, category, date, remark
    std::vector<float> amounts;
    void clear();
};

class ListingIndexer {
  public:
    // The index is the indexer's alone until finish(): nothing else may read
    // or change it meanwhile.
    explicit ListingIndexer(ItemIndex& index);
    ~ListingIndexer();
    ListingIndexer(const ListingIndexer&) = delete;
    ListingIndexer& operator=(const ListingIndexer&) = delete;

    // Takes the batch's rows in order after those taken before, leaving
    // `batch` empty (with room from an earlier batch) to be filled again.
    void take(IndexedRows& batch);
    // Waits until every row taken is in the index; false when the index could
    // not be built (it is then to be built again from the file).
    bool finish();

  private:
    void run();

    ItemIndex& index_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<IndexedRows> waiting_;
    std::vector<IndexedRows> spare_;
    bool ending_ = false;
    bool failed_ = false;
    std::thread thread_;  // last: starts once the members it uses exist
};

}  // namespace tavrin::finance
