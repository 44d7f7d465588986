#pragma once

#include "tools/lamhost/storedata.h"

#include <cstddef>
#include <string>

// The store as JSON (format in tools/lamhost/README.md). Floats and doubles
// are written so that reading them back gives the same bits; infinities and
// NaN are written as the strings "Infinity", "-Infinity" and "NaN".
namespace LamHost {

// Reads a store; false with an error text naming the offending value when the
// text is not a store (out is then unspecified).
bool ReadStoreJson(const std::string &text, StoreData &out, std::string &error);
std::string WriteStoreJson(const StoreData &data);

// The largest store file that LoadStoreFile reads.
constexpr size_t kMaxStoreFileBytes = size_t{64} << 20;

// The same through a file; false with an error text when reading or writing
// fails. Only a regular file of at most kMaxStoreFileBytes is read; the error
// text then begins with the path.
bool LoadStoreFile(const std::string &path, StoreData &out, std::string &error);
bool SaveStoreFile(const std::string &path, const StoreData &data, std::string &error);

} // namespace LamHost
