#pragma once
// A few windows of a read-only file kept in memory, so that the many small
// reads of a record walk (coordinate runs, texts, arc lists) cost one
// system call per window instead of one per record. Each window follows one
// stream of reads: it grows while its stream goes forward and starts small
// again when it is reused elsewhere, so scattered reads stay cheap.
#include <cstddef>
#include <cstdint>
#include <memory>

namespace MapGis::detail {

class ReadWindows {
 public:
  // Reads exactly `length` bytes at `offset` of the file `fd`, which held
  // `size` bytes when it was opened; nothing past `size` is ever read.
  // False when the bytes are not in the file (or no longer are).
  bool Read(int fd, uint64_t size, uint64_t offset, void* buffer, size_t length);

  static constexpr size_t kWindows = 4;
  static constexpr size_t kSmallest = 4096;
  static constexpr size_t kLargest = 256 * 1024;

 private:
  struct Window {
    std::unique_ptr<char[]> bytes;
    size_t capacity = 0;
    uint64_t start = 0;
    size_t length = 0;  // bytes held, from `start`
    size_t span = 0;    // bytes the next refill of this stream reads
    uint64_t lastUse = 0;
    bool Holds(uint64_t offset, size_t n) const {
      return offset >= start && offset - start <= length && n <= length - (offset - start);
    }
  };

  Window& Choose(uint64_t offset);
  bool Fill(Window& w, int fd, uint64_t size, uint64_t offset, size_t need);

  Window windows_[kWindows];
  uint64_t clock_ = 0;
};

// Reads exactly `length` bytes at `offset` with pread, retrying on EINTR
// and short reads; false at the end of the file or on an error.
bool ReadFully(int fd, uint64_t offset, void* buffer, size_t length);

}  // namespace MapGis::detail
