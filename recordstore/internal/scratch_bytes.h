// A scratch buffer for one field or record image: on the stack when it is
// small, as nearly all are, else on the heap. Zero-filled.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tavrin::rs {

template <size_t Small>
class ScratchBytes {
  public:
    explicit ScratchBytes(size_t size) {
        if (size > Small) large_.assign(size, 0);
    }
    ScratchBytes(const ScratchBytes&) = delete;
    ScratchBytes& operator=(const ScratchBytes&) = delete;
    uint8_t* data() { return large_.empty() ? small_ : large_.data(); }

  private:
    uint8_t small_[Small] = {};
    std::vector<uint8_t> large_;
};

}  // namespace tavrin::rs
