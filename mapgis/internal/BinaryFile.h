#pragma once
// File access by wide path at absolute offsets. Paths arrive as wchar_t
// strings and are opened as UTF-8 paths.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "ReadWindows.h"

namespace MapGis::detail {

// UTF-8 form of a wide path (wchar_t holds UCS-4 on this platform).
std::string WidePathToUtf8(const wchar_t* path);

class BinaryFile {
 public:
  enum class Mode { Read, ReadWrite, Create };

  BinaryFile() = default;
  ~BinaryFile();
  BinaryFile(const BinaryFile&) = delete;
  BinaryFile& operator=(const BinaryFile&) = delete;

  bool Open(const wchar_t* path, Mode mode);
  void Close();
  // Makes this an independent handle on the file `other` has open.
  void DuplicateFrom(const BinaryFile& other);
  bool IsOpen() const { return fd_ >= 0; }
  // Size of the file when it was opened (or last written past).
  uint64_t Size() const { return size_; }

  // Reads exactly `length` bytes at `offset`; a short read is a failure.
  // A file opened for reading only serves small reads from read windows,
  // so one handle is read by one thread at a time (as every reader is).
  bool ReadAt(uint64_t offset, void* buffer, size_t length) const;
  // Writes `length` bytes at `offset`.
  bool WriteAt(uint64_t offset, const void* buffer, size_t length);

 private:
  int fd_ = -1;
  uint64_t size_ = 0;
  // Present while a file is open for reading only: nothing written through
  // this handle can make a window stale.
  mutable std::unique_ptr<ReadWindows> windows_;
};

}  // namespace MapGis::detail
