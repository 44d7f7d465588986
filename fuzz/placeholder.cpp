// Formats fuzzer text with one or several arguments through a SimpleLogDest.
#include "util/any.h"
#include "util/logdest.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

class Collect : public Tuvo::SimpleLogDest
{
public:
    int Emit(const char *text) override
    {
        last = text;
        return 0;
    }
    std::string last;
};

// Argument texts that themselves look like placeholders or percent runs.
const char *const kTexts[] = {"", "%", "%%", "%1", "%2%1", "a%0b", "%999999", "text"};

// Builds one argument from the next input byte; the kind comes from its low bits.
Tuvo::any TakeArg(const uint8_t *&data, size_t &size, std::vector<std::string> &strings)
{
    if (size == 0)
        return Tuvo::any();
    const uint8_t b = *data++;
    --size;
    const int pick = b >> 3;
    switch (b & 7) {
    case 0: return Tuvo::any(pick - 16);
    case 1: return Tuvo::any(static_cast<float>(pick) / 3.0f);
    case 2: return Tuvo::any(pick % 2 ? 1e300 / (pick - 15) : -1e-300 * pick);
    case 3: return Tuvo::any(kTexts[pick % 8]);
    case 4: strings.emplace_back(std::string(pick % 5, '%') + "1"); return Tuvo::any(strings.back());
    case 5: return Tuvo::any(static_cast<const char *>(nullptr));
    default: return Tuvo::any();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const size_t count = data[0] % 5;
    ++data;
    --size;
    std::vector<std::string> strings;
    std::vector<Tuvo::any> args;
    for (size_t i = 0; i < count; ++i)
        args.push_back(TakeArg(data, size, strings));
    const std::string format(reinterpret_cast<const char *>(data), size);

    Collect dest;
    dest.Write(format.c_str());
    if (dest.last != format.c_str())
        abort(); // a plain message passes unchanged
    if (count == 1)
        dest.Write(format.c_str(), args[0]);
    else
        dest.Write(format.c_str(), args);
    if (dest.last.find("%%") != std::string::npos)
        abort(); // every percent run collapses
    if (!std::strchr(format.c_str(), '%') && dest.last != format.c_str())
        abort(); // without a percent sign nothing changes
    return 0;
}
