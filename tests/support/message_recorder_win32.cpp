#include "tests/support/message_recorder.h"

#include "driver/report_error.h"

namespace {

int WINAPI recordBox(HWND owner, const char* text, const char* caption, UINT)
{
    MessageRecorder::record({owner, caption ? caption : "", text ? text : ""});
    return IDOK;
}

}  // namespace

MessageRecorder::MessageRecorder()
{
    setMessageBoxFunction(recordBox);
    active_ = this;
}

MessageRecorder::~MessageRecorder()
{
    setMessageBoxFunction(nullptr);
    active_ = nullptr;
}
