#include "HeldFiles.h"

#include <fcntl.h>
#include <unistd.h>

void HeldFiles::Hold(const std::string& path) {
  // A path-only descriptor: no read permission needed, links are not followed.
  const int fd = open(path.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
  if (fd >= 0) fds_.push_back(fd);
}

void HeldFiles::Release() {
  for (const int fd : fds_) close(fd);
  fds_.clear();
}
