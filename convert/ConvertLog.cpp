#include "ConvertLog.h"

#include <cwchar>
#include <fstream>

#include "MapGisCodePage.h"
#include "Settings.h"

namespace {
thread_local std::vector<std::wstring>* t_capture = nullptr;
}  // namespace

void CConvertLog::SetThreadCapture(std::vector<std::wstring>* lines) { t_capture = lines; }

void CConvertLog::Release(std::vector<std::wstring>& lines) {
  std::lock_guard<std::mutex> lock(mutex_);
  for (std::wstring& line : lines) {
    if (sink_) sink_->AppendLine(line);
    lines_.push_back(std::move(line));
  }
  lines.clear();
}

CConvertLog& CConvertLog::Instance() {
  static CConvertLog log;
  return log;
}

void CConvertLog::Write(int level, const std::wstring& message, const char*, int, const char*) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (level < 2 || threshold_ < 2) return;
  std::wstring line = L">" + message;
  if (line.size() > 1024) line.resize(1024);
  if (t_capture) {
    t_capture->push_back(std::move(line));
    return;
  }
  lines_.push_back(line);
  if (sink_) sink_->AppendLine(line);
}

void CConvertLog::Show() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (sink_) sink_->ShowLog();
}

void CConvertLog::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  lines_.clear();
  if (sink_) sink_->ClearLines();
}

void CConvertLog::SetSink(LogSink* sink) {
  std::lock_guard<std::mutex> lock(mutex_);
  sink_ = sink;
}

std::vector<std::wstring> CConvertLog::Lines() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lines_;
}

bool CConvertLog::SaveLines(const std::string& path) const {
  std::vector<std::wstring> lines = Lines();
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  for (const std::wstring& l : lines) out << MapGis::WideToUtf8(l) << '\n';
  out.close();
  return !out.fail();
}

int ConvertLogLevel() {
  switch (Settings::LogLevel) {
    case 0: return 7;
    case 1: return 6;
    case 2: return 5;
    case 3: return 4;
    default: return -1;
  }
}

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

void ConvertLogWrite(const char* unit, int line, const char* operation, const wchar_t* format, ...) {
  const int level = ConvertLogLevel();
  if (level < 0) return;
  va_list args;
  va_start(args, format);
  std::wstring message = FormatTextV(format, args);
  va_end(args);
  CConvertLog::Instance().Write(level, message, unit, line, operation);
}
