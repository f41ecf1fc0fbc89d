#include "ReadWindows.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

namespace MapGis::detail {

bool ReadFully(int fd, uint64_t offset, void* buffer, size_t length) {
  char* p = static_cast<char*>(buffer);
  while (length > 0) {
    ssize_t n = ::pread(fd, p, length, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    offset += static_cast<uint64_t>(n);
    length -= static_cast<size_t>(n);
  }
  return true;
}

bool ReadWindows::Read(int fd, uint64_t size, uint64_t offset, void* buffer, size_t length) {
  if (offset > size || length > size - offset) return false;
  if (length == 0) return true;
  for (Window& w : windows_) {
    if (w.length > 0 && w.Holds(offset, length)) {
      w.lastUse = ++clock_;
      std::memcpy(buffer, w.bytes.get() + (offset - w.start), length);
      return true;
    }
  }
  // A read as large as a window gains nothing from one.
  if (length >= kLargest / 2) return ReadFully(fd, offset, buffer, length);
  Window& w = Choose(offset);
  // A window that cannot be filled (no memory, a file cut short since it
  // was opened) leaves the read to the file itself.
  if (!Fill(w, fd, size, offset, length)) return ReadFully(fd, offset, buffer, length);
  std::memcpy(buffer, w.bytes.get(), length);
  return true;
}

ReadWindows::Window& ReadWindows::Choose(uint64_t offset) {
  // The window whose stream this read continues: it starts inside the
  // window or within one more span after it.
  for (Window& w : windows_) {
    if (w.length > 0 && offset >= w.start && offset - w.start <= w.length + w.span) {
      w.span = std::min(w.span * 2, kLargest);
      return w;
    }
  }
  Window* oldest = &windows_[0];
  for (Window& w : windows_) {
    if (w.lastUse < oldest->lastUse) oldest = &w;
  }
  oldest->span = kSmallest;
  return *oldest;
}

bool ReadWindows::Fill(Window& w, int fd, uint64_t size, uint64_t offset, size_t need) {
  const size_t span = std::max(w.span, need);
  const size_t n = static_cast<size_t>(std::min<uint64_t>(span, size - offset));
  if (w.capacity < n) {
    const size_t capacity = std::max(n, std::min(w.capacity * 2, kLargest));
    w.length = 0;
    w.bytes.reset(new (std::nothrow) char[capacity]);
    w.capacity = w.bytes ? capacity : 0;
    if (!w.bytes) return false;
  }
  w.length = 0;
  w.lastUse = ++clock_;
  if (!ReadFully(fd, offset, w.bytes.get(), n)) return false;
  w.start = offset;
  w.length = n;
  return true;
}

}  // namespace MapGis::detail
