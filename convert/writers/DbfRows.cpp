#include "DbfRows.h"

#include <cstdio>
#include <cstring>

char* DbfRows::Field(int row, int column, int* size) {
  if (!direct_) return nullptr;
  if (column < 0 || column >= dbf_->nFields || (row != row_ && row != row_ + 1) ||
      (row != row_ && row_ >= 0 && !Append())) {
    HandBack();
    return nullptr;
  }
  if (row != row_) {
    record_.assign(static_cast<size_t>(dbf_->nRecordLength), ' ');
    row_ = row;
  }
  *size = dbf_->panFieldSize[column];
  return &record_[static_cast<size_t>(dbf_->panFieldOffset[column])];
}

bool DbfRows::Put(char* field, int size, const char* text) {
  const size_t n = std::strlen(text);
  const size_t width = static_cast<size_t>(size);
  if (n > width) {
    std::memcpy(field, text, width);
    return false;
  }
  std::memset(field, ' ', width);
  std::memcpy(field, text, n);
  return true;
}

void DbfRows::PutNull(char* field, int size, int column) const {
  char fill = ' ';
  switch (Type(column)) {
    case 'N':
    case 'F': fill = '*'; break;
    case 'D': fill = '0'; break;
    case 'L': fill = '?'; break;
    default: break;
  }
  std::memset(field, fill, static_cast<size_t>(size));
}

bool DbfRows::Append() {
  // The header goes first, as shapelib writes it before its first record.
  if (appended_ == 0) DBFUpdateHeader(dbf_);
  const SAOffset at = static_cast<SAOffset>(dbf_->nHeaderLength) +
                      static_cast<SAOffset>(dbf_->nRecordLength) * static_cast<SAOffset>(appended_);
  if (dbf_->sHooks.FSeek(dbf_->fp, at, SEEK_SET) != 0 ||
      dbf_->sHooks.FWrite(&record_[0], static_cast<SAOffset>(dbf_->nRecordLength), 1, dbf_->fp) != 1) {
    return false;
  }
  ++appended_;
  return true;
}

bool DbfRows::HandBack() {
  if (!direct_) return true;
  direct_ = false;
  if (row_ < 0) return true;
  dbf_->nRecords = appended_;
  return DBFWriteTuple(dbf_, row_, &record_[0]) != 0;
}
