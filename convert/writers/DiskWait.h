#pragma once
// Waits until the bytes written to an open file are on the disk, before the
// file is renamed into place: a result must never be found short after a
// power cut. The file's data is written out and waited for, without forcing
// a journal commit per file (the rename that follows is committed after the
// file's own metadata on ordered-data file systems). 0, or the system's
// error number.
int WaitForDisk(int fd);
