#include "listing_indexer.h"

#include <string_view>

#include "finance/item_index.h"

namespace tavrin::finance {

namespace {

constexpr int32_t kCategoryCell = 2, kDateCell = 3;
// Batches handed over and not yet indexed: an index thread that falls behind
// (one core, a busy machine) holds the listing back instead of letting a
// whole file's rows pile up in memory.
constexpr size_t kMostWaiting = 4;

// Adds the batch's rows to the index, in order.
void IndexRows(const IndexedRows& batch, ItemIndex& index) {
    const auto& rows = batch.rows;
    const std::string_view bytes(rows.bytes);
    size_t at = 0;
    for (int32_t r = 0; r < rows.rows(); ++r) {
        std::string_view cells[5];
        for (int32_t c = 0; c < rows.columns; ++c) {
            const size_t length = rows.lengths[size_t(r) * size_t(rows.columns) + size_t(c)];
            if (c < 5) cells[c] = bytes.substr(at, length);
            at += length;
        }
        index.append(rows.data[size_t(r)], batch.amounts[size_t(r)], cells[kCategoryCell],
                     cells[kDateCell]);
    }
}

}  // namespace

void IndexedRows::clear() {
    rows.clear();
    amounts.clear();
}

ListingIndexer::ListingIndexer(ItemIndex& index) : index_(index), thread_([this] { run(); }) {}

ListingIndexer::~ListingIndexer() {
    (void)finish();
}

void ListingIndexer::take(IndexedRows& batch) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return waiting_.size() < kMostWaiting; });
    IndexedRows next;
    if (!spare_.empty()) {
        next = std::move(spare_.back());
        spare_.pop_back();
    }
    next.rows.columns = batch.rows.columns;
    waiting_.push_back(std::move(batch));
    batch = std::move(next);
    changed_.notify_all();
}

bool ListingIndexer::finish() {
    {
        std::lock_guard lock(mutex_);
        ending_ = true;
        changed_.notify_all();
    }
    if (thread_.joinable()) thread_.join();
    return !failed_;
}

void ListingIndexer::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return ending_ || !waiting_.empty(); });
        if (waiting_.empty()) return;  // ending, and every batch indexed
        IndexedRows batch = std::move(waiting_.front());
        waiting_.pop_front();
        lock.unlock();
        if (!failed_) {
            try {
                IndexRows(batch, index_);
            } catch (...) {
                failed_ = true;  // out of memory: the rest is not indexed either
            }
        }
        batch.clear();
        lock.lock();
        spare_.push_back(std::move(batch));
        changed_.notify_all();
    }
}

}  // namespace tavrin::finance
