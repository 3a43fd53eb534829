#pragma once
// A test server written in Python, run under Debian's /usr/bin/python3 (which has the servers'
// modules, whatever stands earlier on PATH) with its standard input and output on pipes. It
// prints one line once it is ready and stops when its input closes.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

extern char **environ;

namespace stv::test
{

inline constexpr const char *Python = "/usr/bin/python3";

struct PythonScript {
    pid_t pid = -1;
    int input = -1; // the script's standard input
    std::string readyLine; // its first line, without the line end
    std::string error; // why it could not be started
};

// Runs `python3 args...` and waits up to `seconds` for its first line.
inline PythonScript startPythonScript(std::vector<std::string> args, int seconds)
{
    PythonScript script;
    args.insert(args.begin(), Python);
    std::vector<char *> argv;
    for (std::string &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    int in[2];
    int out[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) {
        script.error = "no pipes";
        return script;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    const int rc = ::posix_spawn(&script.pid, Python, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    ::close(out[1]);
    script.input = in[1];
    if (rc != 0) {
        script.pid = -1;
        ::close(out[0]);
        script.error = std::string("cannot run ") + Python;
        return script;
    }
    std::string line;
    pollfd p { out[0], POLLIN, 0 };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (line.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        if (::poll(&p, 1, 200) > 0) {
            char buf[512];
            const ssize_t n = ::read(out[0], buf, sizeof buf);
            if (n <= 0)
                break;
            line.append(buf, static_cast<std::size_t>(n));
        }
    }
    ::close(out[0]);
    script.readyLine = line.substr(0, line.find('\n'));
    return script;
}

// Closes the script's input and waits for it to end, ending it when it does not.
inline void stopPythonScript(PythonScript &script)
{
    if (script.input >= 0)
        ::close(script.input);
    script.input = -1;
    if (script.pid <= 0)
        return;
    const auto ended = [&](int tries) {
        int status = 0;
        for (int i = 0; i < tries; ++i) {
            if (::waitpid(script.pid, &status, WNOHANG) != 0)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    };
    if (!ended(100)) {
        ::kill(script.pid, SIGTERM);
        if (!ended(40)) {
            ::kill(script.pid, SIGKILL);
            ::waitpid(script.pid, nullptr, 0);
        }
    }
    script.pid = -1;
}

} // namespace stv::test
