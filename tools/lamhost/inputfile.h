#pragma once

#include <cstddef>
#include <string>

// The files that lamhost reads: only readable regular files, so that a FIFO,
// a device or a folder named by mistake ends with a reason instead of a hang
// or a read without end.
namespace LamHost {

// True when path names a regular file that opens for reading; otherwise false
// with the reason (the system's text, "is a folder" or "is not a regular
// file"). Nothing is read.
bool CheckReadableFile(const std::string &path, std::string &reason);

// Reads the regular file at path whole into text when it holds at most
// maxBytes; otherwise false with the reason as above, or "is larger than N
// bytes".
bool ReadRegularFile(const std::string &path, size_t maxBytes, std::string &text, std::string &reason);

} // namespace LamHost
