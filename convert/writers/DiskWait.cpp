#include "DiskWait.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

int WaitForDisk(int fd) {
  const unsigned flags = SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER;
  if (sync_file_range(fd, 0, 0, flags) == 0) return 0;
  // File systems without it (or that refuse it) get a full data sync.
  if (errno == EINVAL || errno == ESPIPE || errno == ENOSYS) return fdatasync(fd) == 0 ? 0 : errno;
  return errno;
}

int WaitForDisk(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  int error = WaitForDisk(fd);
  if (close(fd) != 0 && !error) error = errno;
  return error;
}

void StartWriting(int fd) { sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE); }
