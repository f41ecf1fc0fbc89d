#include "ShapeFileHooks.h"

#include "DiskWait.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

thread_local ShapeFileFailure t_failure;
thread_local bool t_failed = false;

void RecordFailure(const std::string& path, int error) {
  if (t_failed) return;
  t_failed = true;
  t_failure.path = path;
  t_failure.error = error != 0 ? error : EIO;
}

constexpr size_t kBufferSize = size_t{1} << 20;

// One open file: a logical position and size, and a run of bytes written at
// [start, start + data.size()) that is not yet on disk.
struct BufferedFile {
  int fd = -1;
  bool writable = false;
  bool failed = false;
  std::string path;
  unsigned long long pos = 0;
  unsigned long long size = 0;
  unsigned long long start = 0;
  std::vector<char> data;
};

bool WriteAll(int fd, const char* p, size_t n, unsigned long long at) {
  while (n > 0) {
    const ssize_t w = pwrite(fd, p, n, static_cast<off_t>(at));
    if (w < 0 && errno == EINTR) continue;
    if (w == 0) errno = ENOSPC;
    if (w <= 0) return false;
    p += w;
    n -= static_cast<size_t>(w);
    at += static_cast<unsigned long long>(w);
  }
  return true;
}

// Marks the file failed with the current errno.
void Fail(BufferedFile* f) {
  f->failed = true;
  RecordFailure(f->path, errno);
}

bool Flush(BufferedFile* f) {
  if (f->data.empty()) return !f->failed;
  if (!WriteAll(f->fd, f->data.data(), f->data.size(), f->start)) {
    Fail(f);
  } else {
    // Start writing the block to the disk now, without waiting for it, so
    // that the wait at close is short.
    sync_file_range(f->fd, static_cast<off_t>(f->start), static_cast<off_t>(f->data.size()), SYNC_FILE_RANGE_WRITE);
  }
  f->data.clear();
  return !f->failed;
}

BufferedFile* Of(SAFile file) { return reinterpret_cast<BufferedFile*>(file); }

SAFile Open(const char* name, const char* access) {
  int flags = O_RDONLY;
  if (std::strchr(access, 'w')) {
    flags = O_RDWR | O_CREAT | O_TRUNC;
  } else if (std::strchr(access, 'a')) {
    flags = O_RDWR | O_CREAT;
  } else if (std::strchr(access, '+')) {
    flags = O_RDWR;
  }
  const int fd = open(name, flags | O_CLOEXEC, 0666);
  if (fd < 0) {
    if (flags != O_RDONLY) RecordFailure(name, errno);
    return nullptr;
  }
  auto* f = new (std::nothrow) BufferedFile;
  if (!f) {
    close(fd);
    return nullptr;
  }
  f->fd = fd;
  f->writable = flags != O_RDONLY;
  f->path = name;
  const off_t end = lseek(fd, 0, SEEK_END);
  f->size = end > 0 ? static_cast<unsigned long long>(end) : 0;
  if (std::strchr(access, 'a')) f->pos = f->size;
  // The buffer grows with what is written (up to kBufferSize): most files a
  // batch writes (.shx, .prj, small layers) are far smaller than the cap.
  return reinterpret_cast<SAFile>(f);
}

SAOffset Read(void* p, SAOffset size, SAOffset count, SAFile file) {
  BufferedFile* f = Of(file);
  if (size == 0 || count == 0) return 0;
  if (!Flush(f)) return 0;
  const size_t want = static_cast<size_t>(size * count);
  size_t got = 0;
  while (got < want) {
    const ssize_t r = pread(f->fd, static_cast<char*>(p) + got, want - got, static_cast<off_t>(f->pos + got));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) break;
    got += static_cast<size_t>(r);
  }
  f->pos += got;
  return got / size;
}

SAOffset Write(void* p, SAOffset size, SAOffset count, SAFile file) {
  BufferedFile* f = Of(file);
  if (size == 0 || count == 0) return 0;
  const size_t n = static_cast<size_t>(size * count);
  const char* bytes = static_cast<const char*>(p);
  // A write inside or right after the buffered run goes into the buffer: a
  // table rewrites its end-of-file mark with the next record.
  const bool inRun = !f->data.empty() && f->pos >= f->start && f->pos <= f->start + f->data.size();
  // A block as large as the buffer goes straight to disk, so the buffered
  // run is written first: flushed later it would overwrite the block.
  if (!inRun || (f->pos - f->start) + n > kBufferSize || n >= kBufferSize) {
    if (!Flush(f)) return 0;
  }
  if (n >= kBufferSize) {
    if (!WriteAll(f->fd, bytes, n, f->pos)) {
      Fail(f);
      return 0;
    }
  } else {
    if (f->data.empty()) f->start = f->pos;
    const size_t at = static_cast<size_t>(f->pos - f->start);
    const size_t overlap = std::min(n, f->data.size() - at);
    if (overlap > 0) std::memcpy(f->data.data() + at, bytes, overlap);
    f->data.insert(f->data.end(), bytes + overlap, bytes + n);
  }
  f->pos += n;
  if (f->pos > f->size) f->size = f->pos;
  return count;
}

SAOffset Seek(SAFile file, SAOffset offset, int whence) {
  BufferedFile* f = Of(file);
  // shapelib passes negative offsets for SEEK_CUR as wrapped unsigned values.
  const long long delta = static_cast<long long>(offset);
  long long target;
  switch (whence) {
    case SEEK_SET: target = static_cast<long long>(offset); break;
    case SEEK_CUR: target = static_cast<long long>(f->pos) + delta; break;
    case SEEK_END: target = static_cast<long long>(f->size) + delta; break;
    default: return static_cast<SAOffset>(-1);
  }
  if (target < 0) return static_cast<SAOffset>(-1);
  f->pos = static_cast<unsigned long long>(target);
  return 0;
}

SAOffset Tell(SAFile file) { return static_cast<SAOffset>(Of(file)->pos); }

int FlushFile(SAFile file) { return Flush(Of(file)) ? 0 : EOF; }

// Closing a written file starts writing the rest of its bytes to the disk;
// the staging waits for them before the result is renamed into place.
int Close(SAFile file) {
  BufferedFile* f = Of(file);
  bool ok = Flush(f);
  if (ok && f->writable) StartWriting(f->fd);
  if (close(f->fd) != 0 && ok) {
    Fail(f);
    ok = false;
  }
  delete f;
  return ok ? 0 : EOF;
}

SAHooks MakeHooks() {
  SAHooks h;
  SASetupDefaultHooks(&h);
  h.FOpen = Open;
  h.FRead = Read;
  h.FWrite = Write;
  h.FSeek = Seek;
  h.FTell = Tell;
  h.FFlush = FlushFile;
  h.FClose = Close;
  return h;
}

}  // namespace

void ClearShapeFileFailure() {
  t_failed = false;
  t_failure = ShapeFileFailure{};
}

const ShapeFileFailure* LastShapeFileFailure() { return t_failed ? &t_failure : nullptr; }

const SAHooks& BufferedShapeHooks() {
  static const SAHooks hooks = MakeHooks();
  return hooks;
}
