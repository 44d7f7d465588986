#include "host/hosttext.h"

#include <algorithm>

std::string HostText::Text() const
{
    const auto end = std::find(buffer_.begin(), buffer_.end(), '\0');
    return std::string(buffer_.begin(), end);
}
