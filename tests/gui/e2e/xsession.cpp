#include "xsession.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

std::vector<char *> Argv(const std::string &program, const std::vector<std::string> &args)
{
    std::vector<char *> argv{const_cast<char *>(program.c_str())};
    for (const std::string &a : args)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    return argv;
}

// In a child: the environment of a program shown on display (none when
// empty). The private server has no session bus; looking for one leaks
// inside the D-Bus library, which a sanitized program's leak check would report.
void UseDisplay(const std::string &display)
{
    if (display.empty())
        unsetenv("DISPLAY");
    else
        setenv("DISPLAY", display.c_str(), 1);
    setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
    unsetenv("QT_QPA_PLATFORM");
    unsetenv("WAYLAND_DISPLAY");
}

// Waits for pid at most ms; its exit status, or -1 after killing it.
int Reap(pid_t pid, int ms)
{
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (done < 0)
            return -1;
        if (Clock::now() > end) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        Pause(20);
    }
}

// Runs a tool on display and returns its standard output (at most 10 s).
std::string Capture(const std::string &display, const std::string &program, const std::vector<std::string> &args)
{
    int out[2];
    if (pipe(out) != 0)
        return "";
    const pid_t pid = fork();
    if (pid == 0) {
        UseDisplay(display);
        dup2(out[1], 1);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 2);
        close(out[0]);
        std::vector<char *> argv = Argv(program, args);
        execvp(program.c_str(), argv.data());
        _exit(127);
    }
    close(out[1]);
    std::string text;
    char buffer[4096];
    pollfd fd{out[0], POLLIN, 0};
    const auto end = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < end && poll(&fd, 1, 100) >= 0) {
        if (!(fd.revents & (POLLIN | POLLHUP)))
            continue;
        const ssize_t n = read(out[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        text.append(buffer, static_cast<size_t>(n));
    }
    close(out[0]);
    Reap(pid, 1000);
    return text;
}

} // namespace

XSession::XSession(bool resetWhenIdle)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "corvane-x-XXXXXX").string();
    if (mkdtemp(pattern.data()))
        folder_ = pattern;
    int ready[2];
    if (pipe(ready) != 0)
        return;
    server_ = fork();
    if (server_ == 0) {
        // Xvfb picks a free display and writes its number to fd 3 when it is ready.
        dup2(ready[1], 3);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
               resetWhenIdle ? static_cast<char *>(nullptr) : "-noreset", static_cast<char *>(nullptr));
        _exit(127);
    }
    close(ready[1]);
    std::string number;
    pollfd fd{ready[0], POLLIN, 0};
    char c = 0;
    while (poll(&fd, 1, 10000) > 0 && read(ready[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(ready[0]);
    if (!number.empty() && c == '\n')
        display_ = ":" + number;
}

XSession::~XSession()
{
    if (program_ > 0) {
        kill(program_, SIGKILL);
        waitpid(program_, nullptr, 0);
    }
    if (server_ > 0) {
        kill(server_, SIGTERM);
        Reap(server_, 5000);
    }
    std::error_code ignored;
    if (!folder_.empty())
        std::filesystem::remove_all(folder_, ignored);
}

void XSession::Start(const std::string &program, const std::vector<std::string> &args, const std::string &cwd)
{
    Spawn(program, args, cwd, display_);
}

void XSession::StartWithoutDisplay(const std::string &program, const std::vector<std::string> &args,
                                   const std::string &cwd)
{
    Spawn(program, args, cwd, "");
}

void XSession::Spawn(const std::string &program, const std::vector<std::string> &args, const std::string &cwd,
                     const std::string &display)
{
    const std::string out = folder_ + "/stdout.txt", err = folder_ + "/stderr.txt";
    // Gone before the child starts, so that WaitForOutput never sees the last program's.
    std::error_code ignored;
    std::filesystem::remove(out, ignored);
    program_ = fork();
    if (program_ == 0) {
        UseDisplay(display);
        const int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (o < 0 || e < 0 || dup2(o, 1) < 0 || dup2(e, 2) < 0 || chdir(cwd.c_str()) != 0)
            _exit(127);
        std::vector<char *> argv = Argv(program, args);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
}

Outcome XSession::Wait(int ms)
{
    Outcome outcome;
    if (program_ <= 0)
        return outcome;
    outcome.status = Reap(program_, ms);
    program_ = -1;
    outcome.out = ReadFile(folder_ + "/stdout.txt");
    outcome.err = ReadFile(folder_ + "/stderr.txt");
    return outcome;
}

bool XSession::WaitForOutput(const std::string &text, int ms) const
{
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        // Whether the program has ended, leaving it to Wait to collect.
        siginfo_t ended{};
        const bool running = program_ > 0 && waitid(P_PID, static_cast<id_t>(program_), &ended,
                                                    WEXITED | WNOHANG | WNOWAIT) == 0 && ended.si_pid == 0;
        if (ReadFile(folder_ + "/stdout.txt").find(text) != std::string::npos)
            return true;
        if (!running || Clock::now() > end)
            return false;
        Pause(50);
    }
}

std::string XSession::Xdotool(const std::vector<std::string> &args) const
{
    return Capture(display_, "xdotool", args);
}

std::string XSession::WaitForWindow(const std::string &title, int ms) const
{
    std::string pattern = "^";
    for (const char c : title) {
        if (std::string("\\^$.|?*+()[]{}").find(c) != std::string::npos)
            pattern += '\\';
        pattern += c;
    }
    pattern += "$";
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < end) {
        std::istringstream ids(Xdotool({"search", "--onlyvisible", "--name", pattern}));
        std::string id;
        if (ids >> id)
            return id;
        Pause(100);
    }
    return "";
}

bool XSession::WaitForWindowGone(const std::string &id, int ms) const
{
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < end) {
        const std::string visible = Xdotool({"search", "--onlyvisible", "--name", "."});
        std::istringstream ids(visible);
        bool found = false;
        for (std::string each; ids >> each;)
            found = found || each == id;
        if (!found)
            return true;
        Pause(100);
    }
    return false;
}

void XSession::Focus(const std::string &window) const
{
    // Without a window manager the window gets the focus directly.
    Xdotool({"windowfocus", window});
    Pause(150);
}

void XSession::Key(const std::string &window, const std::vector<std::string> &keys) const
{
    Focus(window);
    std::vector<std::string> args{"key", "--delay", "60"};
    args.insert(args.end(), keys.begin(), keys.end());
    Xdotool(args);
    Pause(150);
}

void XSession::Type(const std::string &window, const std::string &text) const
{
    Focus(window);
    Xdotool({"type", "--delay", "30", text});
    Pause(150);
}

void XSession::Click(const std::string &window, int x, int y) const
{
    Xdotool({"mousemove", "--window", window, std::to_string(x), std::to_string(y), "click", "1"});
    Pause(150);
}

bool XSession::Screenshot(const std::string &path) const
{
    Capture(display_, "import", {"-window", "root", path});
    return std::filesystem::exists(path) && std::filesystem::file_size(path) > 0;
}

void XSession::SaveScreenshot(const std::string &name) const
{
    const char *dir = std::getenv("CORVANE_SCREENSHOTS");
    if (!dir || !*dir)
        return;
    std::filesystem::create_directories(dir);
    Screenshot(std::string(dir) + "/" + name + ".png");
}
