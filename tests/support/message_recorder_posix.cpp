#include "tests/support/message_recorder.h"

#include "solution/load_report.h"

namespace {

void recordReport(const char* caption, const std::string& text)
{
    MessageRecorder::record({nullptr, caption ? caption : "", text});
}

}  // namespace

MessageRecorder::MessageRecorder()
{
    setLoadReportListener(recordReport);
    active_ = this;
}

MessageRecorder::~MessageRecorder()
{
    setLoadReportListener(nullptr);
    active_ = nullptr;
}
