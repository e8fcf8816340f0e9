#ifndef QUORLAN_TESTS_SUPPORT_MESSAGE_RECORDER_H
#define QUORLAN_TESTS_SUPPORT_MESSAGE_RECORDER_H

// Records the message boxes the code under test would show, instead of showing them.
// One recorder at a time; it restores the previous box function when it goes away.

#include "driver/report_error.h"

#include <string>
#include <vector>

struct RecordedMessage {
    HWND owner;
    std::string caption;
    std::string text;
};

class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    const std::vector<RecordedMessage>& messages() const { return messages_; }
    // The texts alone, in order: the usual thing to compare.
    std::vector<std::string> texts() const;
    void clear() { messages_.clear(); }

private:
    static int WINAPI record(HWND owner, const char* text, const char* caption, UINT type);

    std::vector<RecordedMessage> messages_;
    MessageBoxFunction previous_;
};

#endif
