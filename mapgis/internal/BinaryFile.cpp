#include "BinaryFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

#include "MapGisCodePage.h"

namespace MapGis::detail {

std::string WidePathToUtf8(const wchar_t* path) {
  if (!path) return std::string();
  return WideToUtf8(std::wstring(path));
}

BinaryFile::~BinaryFile() { Close(); }

bool BinaryFile::Open(const wchar_t* path, Mode mode) {
  Close();
  if (!path || !*path) return false;
  const std::string name = WidePathToUtf8(path);
  int flags = O_CLOEXEC;
  switch (mode) {
    case Mode::Read: flags |= O_RDONLY; break;
    case Mode::ReadWrite: flags |= O_RDWR; break;
    case Mode::Create: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
  }
  int fd;
  do {
    fd = ::open(name.c_str(), flags, 0644);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return false;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  size_ = static_cast<uint64_t>(st.st_size);
  if (mode == Mode::Read) windows_.reset(new (std::nothrow) ReadWindows);
  return true;
}

void BinaryFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  size_ = 0;
  windows_.reset();
}

void BinaryFile::DuplicateFrom(const BinaryFile& other) {
  Close();
  if (other.fd_ < 0) return;
  fd_ = ::fcntl(other.fd_, F_DUPFD_CLOEXEC, 0);
  size_ = fd_ >= 0 ? other.size_ : 0;
  if (fd_ >= 0 && other.windows_) windows_.reset(new (std::nothrow) ReadWindows);
}

bool BinaryFile::ReadAt(uint64_t offset, void* buffer, size_t length) const {
  if (fd_ < 0) return false;
  if (length == 0) return true;
  if (offset > size_ || length > size_ - offset) return false;
  if (windows_) return windows_->Read(fd_, size_, offset, buffer, length);
  return ReadFully(fd_, offset, buffer, length);
}

bool BinaryFile::WriteAt(uint64_t offset, const void* buffer, size_t length) {
  if (fd_ < 0) return false;
  const char* p = static_cast<const char*>(buffer);
  uint64_t pos = offset;
  size_t left = length;
  while (left > 0) {
    ssize_t n = ::pwrite(fd_, p, left, static_cast<off_t>(pos));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    pos += static_cast<uint64_t>(n);
    left -= static_cast<size_t>(n);
  }
  if (pos > size_) size_ = pos;
  return true;
}

}  // namespace MapGis::detail
