#pragma once
// The conversion log: every step of a conversion is one line, ">" followed
// by the message, handed to a sink the front end chooses (the log pane, a
// terminal, a test capture, an entry's buffer in a parallel batch). A log
// object belongs to one run or one entry; nothing here is process-wide.
#include <cstdarg>
#include <string>
#include <vector>

// Where accepted log lines go.
class LogSink {
 public:
  virtual ~LogSink() = default;
  virtual void AppendLine(const std::wstring& line) = 0;
};

// Lines kept in order until they are released to another sink: an entry of
// a parallel batch writes here and the batch releases the lines in list order.
class LineBuffer : public LogSink {
 public:
  void AppendLine(const std::wstring& line) override { lines_.push_back(line); }
  // Appends every kept line to `sink` in order and forgets them.
  void ReleaseTo(LogSink* sink);
  const std::vector<std::wstring>& Lines() const { return lines_; }

 private:
  std::vector<std::wstring> lines_;
};

class ConversionLog {
 public:
  // `logLevel` is the LogLevel setting: 0..3 let lines through, any other
  // value silences the log. A null sink drops every line.
  ConversionLog(LogSink* sink, int logLevel);

  // Formats one line by the log statement convention and appends it. The
  // source unit, line and operation travel with the call but are not part
  // of the line.
  void Write(const char* unit, int line, const char* operation, const wchar_t* format, ...);
  // Appends a message that is already whole (a warning a builder returned).
  void WriteMessage(const std::wstring& message);

  LogSink* Sink() const { return sink_; }
  int LogLevel() const { return logLevel_; }

 private:
  void Append(const std::wstring& message);

  LogSink* sink_;
  int logLevel_;
  int level_;  // the statement level for logLevel_, -1 when silenced
};

// printf-style formatting into a string of any length. Wide strings are
// passed with %ls; convert 8-bit text to wide text before formatting it.
std::wstring FormatText(const wchar_t* format, ...);
std::wstring FormatTextV(const wchar_t* format, va_list args);

// Log statement: CONVERT_LOG(log_, L"------I__...[%ls]", path.c_str()); a
// unit that logs defines kLogUnit, the name of the unit the log names.
#define CONVERT_LOG(log, ...) (log).Write(kLogUnit, __LINE__, __func__, __VA_ARGS__)
