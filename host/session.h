#pragma once

#include "host/lamcallbacks.h"

#include <memory>

// Turns each host request into one run of a module: decides between a script
// named by the host and interactive mode, builds the request's context and
// module, runs the operation and tears both down. No exception leaves an
// operation: it is reported as one line through the host's ShowMessage.
class LAM_EXPORT Session
{
public:
    // table may be null: every request then does nothing. It must outlive the session.
    explicit Session(lamCallbacksImp *table = nullptr);
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    const char *Name() const;
    const char *Label() const;
    const char *Version() const;

    void Modeler(bool create);
    void Sketcher();
    void CreatePlyMaterial();

private:
    bool Prepare();
    void Cleanup();

    struct Impl;
    std::unique_ptr<Impl> impl_;
};
