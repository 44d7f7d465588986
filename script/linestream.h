#pragma once

#include <locale>
#include <sstream>

// One line of a listing: a fresh stream, so no format setting carries over to
// the next line, writing numbers in the C locale whatever the environment's is.
class LineStream : public std::ostringstream
{
public:
    LineStream() { imbue(std::locale::classic()); }
};
