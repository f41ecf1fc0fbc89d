#pragma once
#include <string>

// Waits until the bytes written to an open file are on the disk, before the
// file is renamed into place: a result must never be found short after a
// power cut. The file's data is written out and waited for, without forcing
// a journal commit per file (the rename that follows is committed after the
// file's own metadata on ordered-data file systems). 0, or the system's
// error number.
int WaitForDisk(int fd);
// The same for the file at `path` (UTF-8), opened for the wait.
int WaitForDisk(const std::string& path);
// Starts writing the file's data to the disk without waiting, so that the
// wait before the rename is short and other work goes on meanwhile.
void StartWriting(int fd);
