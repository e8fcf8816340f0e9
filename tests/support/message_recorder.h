#ifndef QUORLAN_TESTS_SUPPORT_MESSAGE_RECORDER_H
#define QUORLAN_TESTS_SUPPORT_MESSAGE_RECORDER_H

// Records the messages the code under test would show, instead of showing them: the message boxes
// of reportError in the program (message_recorder_win32.cpp), the model's load reports in native
// builds (message_recorder_posix.cpp). One recorder at a time.

#include <string>
#include <vector>

struct RecordedMessage {
    const void* owner;  // the window that would own the box; null in native builds
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

    // What the platform's hook calls: adds the message to the recorder alive, if there is one.
    static void record(RecordedMessage message);

private:
    static MessageRecorder* active_;
    std::vector<RecordedMessage> messages_;
};

#endif
