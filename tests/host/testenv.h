#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>

#include <unistd.h>

// Sets and unsets environment variables for one test and puts back every variable it touched.
class ScopedEnv
{
public:
    ScopedEnv() = default;
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;
    ~ScopedEnv()
    {
        for (const auto &[name, value] : saved_) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
    }

    void Set(const std::string &name, const std::string &value)
    {
        Save(name);
        setenv(name.c_str(), value.c_str(), 1);
    }
    void Unset(const std::string &name)
    {
        Save(name);
        unsetenv(name.c_str());
    }

private:
    void Save(const std::string &name)
    {
        if (saved_.count(name))
            return;
        const char *value = std::getenv(name.c_str());
        saved_[name] = value ? std::optional<std::string>(value) : std::nullopt;
    }

    std::map<std::string, std::optional<std::string>> saved_;
};

// Changes the working directory for one test and goes back afterwards.
class ScopedCwd
{
public:
    explicit ScopedCwd(const std::string &dir)
    {
        char buffer[4096];
        if (getcwd(buffer, sizeof buffer))
            old_ = buffer;
        ok_ = chdir(dir.c_str()) == 0;
    }
    ScopedCwd(const ScopedCwd &) = delete;
    ScopedCwd &operator=(const ScopedCwd &) = delete;
    ~ScopedCwd()
    {
        if (!old_.empty()) {
            [[maybe_unused]] const int rc = chdir(old_.c_str());
        }
    }
    bool Ok() const { return ok_; }

private:
    std::string old_;
    bool ok_ = false;
};

// A fresh directory under the system's temporary directory, removed with its contents.
class TempDir
{
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvane-XXXXXX").string();
        if (mkdtemp(pattern.data()))
            path_ = pattern;
    }
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    ~TempDir()
    {
        std::error_code ignored;
        if (!path_.empty())
            std::filesystem::remove_all(path_, ignored);
    }
    const std::string &Path() const { return path_; }

    // Writes a file below the directory, creating the folders on the way; returns its path.
    std::string Write(const std::string &relative, const std::string &content = "<html></html>") const
    {
        const std::filesystem::path file = std::filesystem::path(path_) / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file) << content;
        return file.string();
    }

private:
    std::string path_;
};
