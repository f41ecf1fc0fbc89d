#pragma once
// A log sink that passes every line on and keeps it as a structured item
// of the run report.
#include <vector>

#include "ConversionLog.h"
#include "RunReport.h"

class ReportingSink : public LogSink {
 public:
  ReportingSink() = default;
  ReportingSink(LogSink* next, std::vector<LogItem>* items) : next_(next), items_(items) {}
  void AppendLine(const std::wstring& line) override {
    if (items_) items_->push_back(ClassifyLogLine(line));
    if (next_) next_->AppendLine(line);
  }

 private:
  LogSink* next_ = nullptr;
  std::vector<LogItem>* items_ = nullptr;
};
