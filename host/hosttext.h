#pragma once

#include <string>
#include <vector>

// A zero-filled text buffer handed to a host callback, read back with a bound:
// a text with no NUL inside the buffer is cut at the buffer's end.
class HostText
{
public:
    explicit HostText(size_t size) : buffer_(size, '\0') {}

    char *Buffer() { return buffer_.data(); }
    size_t Size() const { return buffer_.size(); }
    std::string Text() const;

private:
    std::vector<char> buffer_;
};
