#pragma once

#include <locale>
#include <sstream>

// One line of a listing: a fresh stream, so no format setting carries over to
// the next line, writing numbers in the C locale whatever the environment's is.
// A stream swallows an exception of its buffer by default and goes on with a
// cut line; with badbit in its mask it passes the std::bad_alloc on instead.
class LineStream : public std::ostringstream
{
public:
    LineStream()
    {
        imbue(std::locale::classic());
        exceptions(std::ios::badbit);
    }
};
