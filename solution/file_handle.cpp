#include "solution/file_handle.h"

#include "solution/file_system.h"

FileHandle::FileHandle(const std::string& path, const char* mode)
    : stream_(openSharedStream(path, mode))
{
}

int64_t FileHandle::size() const
{
    return streamLength(stream_.get());
}

bool FileHandle::close()
{
    if (!stream_)
        return false;
    // Wine's runtime lets fclose succeed when its last write failed (a full disk): the flush
    // before it tells.
    bool flushed = fflush(stream_.get()) == 0 && !ferror(stream_.get());
    return fclose(stream_.release()) == 0 && flushed;
}

std::string readWholeFile(const std::string& path)
{
    FileHandle file(path, "rb");
    return readWholeFile(file);
}

std::string readWholeFile(FileHandle& file)
{
    std::string text;
    readWholeFile(file, text);
    return text;
}

bool readWholeFile(FileHandle& file, std::string& text)
{
    int64_t size = file.size();
    if (size < 0 || size > MAX_WHOLE_FILE_SIZE) {
        text.clear();
        return false;
    }
    // Sized from the text it held, not from empty: a string zero-fills what it grows by, and the
    // read overwrites every byte but the NUL. Project files after the first cost no fill.
    text.resize(static_cast<size_t>(size) + 1);
    text[static_cast<size_t>(size)] = '\0';
    if (fread(&text[0], 1, static_cast<size_t>(size), file.get()) != static_cast<size_t>(size)) {
        text.clear();
        return false;
    }
    return true;
}
