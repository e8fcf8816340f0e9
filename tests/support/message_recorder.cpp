#include "tests/support/message_recorder.h"

MessageRecorder* MessageRecorder::active_ = nullptr;

std::vector<std::string> MessageRecorder::texts() const
{
    std::vector<std::string> result;
    for (const RecordedMessage& message : messages_)
        result.push_back(message.text);
    return result;
}

void MessageRecorder::record(RecordedMessage message)
{
    if (active_)
        active_->messages_.push_back(std::move(message));
}
