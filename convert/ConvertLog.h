#pragma once
// The process-wide conversion log. Every step of a conversion is one line,
// ">" followed by the message, handed to the sink a front end installs (the
// log pane, a terminal, a test capture) and kept so it can be saved.
#include <cstdarg>
#include <mutex>
#include <string>
#include <vector>

// Where accepted log lines go.
class LogSink {
 public:
  virtual ~LogSink() = default;
  virtual void AppendLine(const std::wstring& line) = 0;
  virtual void ClearLines() {}
  virtual void ShowLog() {}
};

class CConvertLog {
 public:
  static CConvertLog& Instance();

  // Filters by level (lines of level 2 and up pass), formats ">" + message
  // (at most 1024 characters) and appends it. The source unit, line and
  // operation travel with the call but are not part of the line.
  void Write(int level, const std::wstring& message, const char* unit, int line, const char* operation);
  // Shows the log to the user (the front end's pane).
  void Show();
  // Forgets the kept lines and clears the sink's list.
  void Clear();

  // The sink, or null to keep lines only. The caller keeps the sink alive.
  void SetSink(LogSink* sink);
  std::vector<std::wstring> Lines() const;
  // Writes every kept line, each followed by a line break, as UTF-8.
  // False when the file cannot be written.
  bool SaveLines(const std::string& path) const;

  // While a capture is set on a thread, the lines that thread writes (after
  // the level filter) go to `lines` instead of the log. A parallel batch
  // buffers each entry's lines this way and releases them in list order.
  static void SetThreadCapture(std::vector<std::wstring>* lines);
  // Appends captured lines to the log and its sink, in their order, and empties `lines`.
  void Release(std::vector<std::wstring>& lines);

 private:
  CConvertLog() = default;
  mutable std::mutex mutex_;
  int threshold_ = 5;
  LogSink* sink_ = nullptr;
  std::vector<std::wstring> lines_;
};

// The level of the log statement convention for the current LogLevel
// setting (0 -> 7, 1 -> 6, 2 -> 5, 3 -> 4), or -1 when the log is silenced.
int ConvertLogLevel();

// printf-style formatting into a string of any length. Wide strings are
// passed with %ls; convert 8-bit text to wide text before formatting it.
std::wstring FormatText(const wchar_t* format, ...);
std::wstring FormatTextV(const wchar_t* format, va_list args);

// Writes one line by the log statement convention.
void ConvertLogWrite(const char* unit, int line, const char* operation, const wchar_t* format, ...);

// Log statement of a converter: CONVERT_LOG(L"------I__...[%ls]", path.c_str());
// The source unit is the file name, the operation the enclosing function.
#define CONVERT_LOG(...) ConvertLogWrite(__FILE__, __LINE__, __func__, __VA_ARGS__)
