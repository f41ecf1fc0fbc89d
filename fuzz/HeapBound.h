#pragma once
// Checks the memory bound of a parser: while one input is handled, the live
// heap may grow by at most a small multiple of the input's size plus a fixed
// allowance. Growth is measured through the sanitizer allocator's hooks; an
// input beyond the bound aborts the execution, so libFuzzer keeps it.
#include <sanitizer/allocator_interface.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>

namespace fuzzing {

class HeapBound {
 public:
  static constexpr size_t kFactor = 64;
  static constexpr size_t kAllowance = 16u << 20;

  // Starts watching one execution over an input of `inputSize` bytes.
  explicit HeapBound(size_t inputSize) : limit_(kFactor * inputSize + kAllowance) {
    static const bool installed = __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree) != 0;
    (void)installed;
    base_ = live_;
    peak_ = live_;
  }
  ~HeapBound() {
    if (peak_ - base_ > limit_) {
      std::fprintf(stderr, "==HeapBound== live heap grew by %zu bytes, bound %zu\n", peak_ - base_, limit_);
      std::abort();
    }
  }
  HeapBound(const HeapBound&) = delete;
  HeapBound& operator=(const HeapBound&) = delete;

 private:
  static void OnMalloc(const volatile void*, size_t size) {
    live_ += size;
    if (live_ > peak_) peak_ = live_;
  }
  static void OnFree(const volatile void* p) {
    const size_t size = __sanitizer_get_allocated_size(const_cast<const void*>(p));
    live_ = live_ > size ? live_ - size : 0;
  }

  static inline size_t live_ = 0;
  static inline size_t peak_ = 0;
  static inline size_t base_ = 0;
  size_t limit_;
};

}  // namespace fuzzing
