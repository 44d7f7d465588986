#pragma once

#include "host/lamcallbacks.h"

// Sends one of the module's own lines to the host's list window from places
// where nothing may be thrown (exception guards of the entry functions): a
// missing table or slot drops the line, and whatever the host throws is dropped.
inline void ShowHostMessage(const lamCallbacksImp *table, const char *line) noexcept
{
    try {
        if (table && table->ShowMessage)
            table->ShowMessage(line);
    } catch (...) {
    }
}
