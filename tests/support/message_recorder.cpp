#include "tests/support/message_recorder.h"

namespace {

MessageRecorder* activeRecorder = nullptr;

}  // namespace

MessageRecorder::MessageRecorder() : previous_(setMessageBoxFunction(record))
{
    activeRecorder = this;
}

MessageRecorder::~MessageRecorder()
{
    setMessageBoxFunction(previous_);
    activeRecorder = nullptr;
}

std::vector<std::string> MessageRecorder::texts() const
{
    std::vector<std::string> result;
    for (const RecordedMessage& message : messages_)
        result.push_back(message.text);
    return result;
}

int WINAPI MessageRecorder::record(HWND owner, const char* text, const char* caption, UINT)
{
    if (activeRecorder)
        activeRecorder->messages_.push_back({owner, caption ? caption : "", text ? text : ""});
    return IDOK;
}
