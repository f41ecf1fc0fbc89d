#include "ConversionLog.h"

#include <cwchar>

namespace {

// The level of the log statement convention for a LogLevel setting
// (0 -> 7, 1 -> 6, 2 -> 5, 3 -> 4), or -1 when the log is silenced.
int StatementLevel(int logLevel) {
  switch (logLevel) {
    case 0: return 7;
    case 1: return 6;
    case 2: return 5;
    case 3: return 4;
    default: return -1;
  }
}

// The log's level filter: lines of level 2 and up pass.
constexpr int kThreshold = 2;
// The longest line, ">" included.
constexpr size_t kMaxLine = 1024;

}  // namespace

void LineBuffer::ReleaseTo(LogSink* sink) {
  if (sink) {
    for (const std::wstring& line : lines_) sink->AppendLine(line);
  }
  lines_.clear();
}

ConversionLog::ConversionLog(LogSink* sink, int logLevel)
    : sink_(sink), logLevel_(logLevel), level_(StatementLevel(logLevel)) {}

void ConversionLog::Append(const std::wstring& message) {
  if (level_ < kThreshold || !sink_) return;
  std::wstring line = L">" + message;
  if (line.size() > kMaxLine) line.resize(kMaxLine);
  sink_->AppendLine(line);
}

void ConversionLog::Write(const char*, int, const char*, const wchar_t* format, ...) {
  if (level_ < kThreshold || !sink_) return;
  va_list args;
  va_start(args, format);
  std::wstring message = FormatTextV(format, args);
  va_end(args);
  Append(message);
}

void ConversionLog::WriteMessage(const std::wstring& message) { Append(message); }

std::wstring FormatTextV(const wchar_t* format, va_list args) {
  std::vector<wchar_t> buffer(512);
  for (;;) {
    va_list copy;
    va_copy(copy, args);
    int n = std::vswprintf(buffer.data(), buffer.size(), format, copy);
    va_end(copy);
    if (n >= 0 && static_cast<size_t>(n) < buffer.size()) return std::wstring(buffer.data(), static_cast<size_t>(n));
    // glibc reports -1 both for a short buffer and for a bad format; stop growing at 16 MB.
    if (buffer.size() >= (size_t{1} << 24)) return std::wstring(format);
    buffer.resize(buffer.size() * 4);
  }
}

std::wstring FormatText(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  std::wstring s = FormatTextV(format, args);
  va_end(args);
  return s;
}
