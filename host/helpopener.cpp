#include "host/helpopener.h"

#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

// What the intermediate child and the opener's child report through the pipe.
enum ReportKind : int { kExecFailed = 1, kExited = 2 };

struct Report
{
    int kind;
    int value;
};

int ShellResultForFileError(int err)
{
    switch (err) {
    case ENOENT:
        return 2;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return 3;
    case EACCES:
    case EPERM:
        return 5;
    case ENOMEM:
        return 8;
    default:
        return 2;
    }
}

int ShellResultForSpawnError(int err)
{
    switch (err) {
    case EACCES:
    case EPERM:
        return 5;
    case ENOMEM:
    case E2BIG:
        return 8;
    case EAGAIN:
        return 0;
    case ENOEXEC:
        return 11;
    default: // ENOENT, ENOTDIR: no opener installed
        return 31;
    }
}

// xdg-open's documented exit codes: 2 the file does not exist; 1 bad arguments, 3 a required
// tool is missing, 4 the action failed, all of which mean nothing could show the file.
int ShellResultForExit(int status)
{
    if (WIFEXITED(status)) {
        switch (WEXITSTATUS(status)) {
        case 0:
            return kOpenSucceeded;
        case 2:
            return 2;
        default:
            return 31;
        }
    }
    return 31;
}

// Everything the children use is prepared before fork: after it only async-signal-safe
// calls are allowed, since the host may run other threads. Pinned in place because the
// pointers refer to its own strings.
struct SpawnPlan
{
    explicit SpawnPlan(const std::string &path);
    SpawnPlan(const SpawnPlan &) = delete;
    SpawnPlan &operator=(const SpawnPlan &) = delete;

    std::vector<std::string> candidates; // "<dir>/xdg-open" for each PATH entry
    std::vector<const char *> candidatePtrs;
    std::string argument;
    const char *argv[3] = {"xdg-open", nullptr, nullptr};
};

SpawnPlan::SpawnPlan(const std::string &path)
{
    std::string dirs;
    if (const char *p = std::getenv("PATH")) {
        dirs = p;
    } else {
        const size_t n = confstr(_CS_PATH, nullptr, 0);
        dirs.resize(n);
        if (n > 0) {
            confstr(_CS_PATH, dirs.data(), n);
            dirs.resize(n - 1);
        }
    }
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos)
            end = dirs.size();
        // An empty entry would mean the working directory; never run a program from there.
        if (end > start)
            candidates.push_back(dirs.substr(start, end - start) + "/xdg-open");
        start = end + 1;
    }
    for (const std::string &c : candidates)
        candidatePtrs.push_back(c.c_str());
    // A leading '-' would be read as an option.
    argument = (!path.empty() && path[0] == '-') ? "./" + path : path;
    argv[1] = argument.c_str();
}

void WriteReport(int fd, int kind, int value)
{
    const Report r{kind, value};
    ssize_t n;
    do {
        n = write(fd, &r, sizeof r);
    } while (n < 0 && errno == EINTR);
}

// Runs the opener the way execvp searches PATH: a missing file tries the next entry, a
// file that may not be executed is remembered, anything else stops the search.
[[noreturn]] void ExecOpener(const SpawnPlan &plan, int fd)
{
    int err = ENOENT;
    for (const char *candidate : plan.candidatePtrs) {
        execve(candidate, const_cast<char *const *>(plan.argv), environ);
        if (errno == EACCES || errno == EPERM) {
            err = errno;
        } else if (errno != ENOENT && errno != ENOTDIR) {
            err = errno;
            break;
        }
    }
    WriteReport(fd, kExecFailed, err);
    _exit(127);
}

timespec Now()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t;
}

// The intermediate child starts the opener and waits for it up to the bound. When it gives
// up it exits, so the opener is re-parented to init instead of staying a zombie of the host.
[[noreturn]] void RunIntermediate(const SpawnPlan &plan, int fd, std::chrono::milliseconds wait)
{
    // The host's signal set-up must not reap our child nor reach the opener.
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    sigaction(SIGCHLD, &dfl, nullptr);
    sigaction(SIGPIPE, &dfl, nullptr);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);

    const pid_t child = fork();
    if (child < 0) {
        WriteReport(fd, kExecFailed, errno);
        _exit(0);
    }
    if (child == 0)
        ExecOpener(plan, fd);

    const timespec start = Now();
    const long long limitNs = static_cast<long long>(wait.count()) * 1000000LL;
    for (;;) {
        int status = 0;
        const pid_t r = waitpid(child, &status, WNOHANG);
        if (r == child) {
            WriteReport(fd, kExited, status);
            _exit(0);
        }
        if (r < 0 && errno != EINTR)
            _exit(0);
        const timespec now = Now();
        const long long elapsed = (now.tv_sec - start.tv_sec) * 1000000000LL + (now.tv_nsec - start.tv_nsec);
        if (elapsed >= limitNs)
            _exit(0);
        const timespec step{0, 5000000};
        nanosleep(&step, nullptr);
    }
}

} // namespace

int OpenWithDesktop(const std::string &path, std::chrono::milliseconds wait)
{
    if (path.empty())
        return 2;
    if (access(path.c_str(), R_OK) != 0)
        return ShellResultForFileError(errno);

    const SpawnPlan plan(path);
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return ShellResultForSpawnError(errno);

    const pid_t mid = fork();
    if (mid < 0) {
        const int err = errno;
        close(fds[0]);
        close(fds[1]);
        return ShellResultForSpawnError(err);
    }
    if (mid == 0) {
        close(fds[0]);
        RunIntermediate(plan, fds[1], wait);
    }
    close(fds[1]);

    // The pipe reaches end of file once the opener has been started (close-on-exec) and the
    // intermediate child has exited, at the latest after the bound.
    std::vector<char> bytes;
    char buffer[64];
    for (;;) {
        const ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n > 0)
            bytes.insert(bytes.end(), buffer, buffer + n);
        else if (n == 0 || errno != EINTR)
            break;
    }
    close(fds[0]);
    int status = 0;
    while (waitpid(mid, &status, 0) < 0 && errno == EINTR) {
    }

    // Records arrive in order: an exec failure of the opener comes before its exit.
    for (size_t at = 0; at + sizeof(Report) <= bytes.size(); at += sizeof(Report)) {
        Report r;
        std::memcpy(&r, bytes.data() + at, sizeof r);
        if (r.kind == kExecFailed)
            return ShellResultForSpawnError(r.value);
        if (r.kind == kExited)
            return ShellResultForExit(r.value);
    }
    return kOpenSucceeded; // still running after the bound
}
