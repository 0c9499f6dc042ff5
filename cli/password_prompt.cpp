#include "cli/password_prompt.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace qvs {

namespace {

// Closes a descriptor it opened; borrowed ones (stdin) stay open.
class Terminal {
public:
    Terminal() : fd_(::open("/dev/tty", O_RDWR | O_CLOEXEC)), owned_(fd_ >= 0) {
        if (!owned_ && ::isatty(STDIN_FILENO)) fd_ = STDIN_FILENO;
    }
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;
    ~Terminal() {
        if (owned_) ::close(fd_);
    }
    int Fd() const { return fd_; }

private:
    int fd_;
    bool owned_;
};

// Turns echo off for as long as it lives; the settings come back on every way out.
class EchoOff {
public:
    explicit EchoOff(int fd) : fd_(fd), saved_(::tcgetattr(fd, &settings_) == 0) {
        if (!saved_) return;
        termios quiet = settings_;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        ::tcsetattr(fd_, TCSAFLUSH, &quiet);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;
    ~EchoOff() {
        if (saved_) ::tcsetattr(fd_, TCSAFLUSH, &settings_);
    }

private:
    int fd_;
    termios settings_{};
    bool saved_;
};

// One line without its line end, read byte by byte so that nothing after it
// is consumed. False at the end of input before any byte.
bool ReadLine(int fd, std::string& line) {
    line.clear();
    bool any = false;
    for (char c = 0;;) {
        const ssize_t n = ::read(fd, &c, 1);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0 || c == '\n') return any || n == 1;
        any = true;
        line.push_back(c);
    }
}

void StripCarriageReturn(std::string& line) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
}

bool Prompt(const Terminal& tty, const char* text, std::string& answer) {
    std::fputs(text, stderr);
    std::fflush(stderr);
    bool ok = false;
    {
        EchoOff quiet(tty.Fd());
        ok = ReadLine(tty.Fd(), answer);
    }
    std::fputs("\n", stderr);
    StripCarriageReturn(answer);
    return ok;
}

bool ReadFromTerminal(bool confirm, std::string& password, std::string& error) {
    const Terminal tty;
    if (tty.Fd() < 0) {
        error = "No terminal to read the password from; give it on standard input with "
                "--password-stdin.";
        return false;
    }
    if (!Prompt(tty, "Password: ", password)) {
        error = "No password was entered.";
        return false;
    }
    if (!confirm) return true;
    std::string again;
    if (!Prompt(tty, "Repeat password: ", again) || again != password) {
        error = "The passwords do not match.";
        return false;
    }
    return true;
}

} // namespace

bool ReadPassword(const PasswordRequest& request, std::string& password, std::string& error) {
    if (!request.fromStdin) return ReadFromTerminal(request.confirm, password, error);
    if (!ReadLine(STDIN_FILENO, password)) {
        error = "No password on standard input (expected it as the first line).";
        return false;
    }
    StripCarriageReturn(password);
    return true;
}

} // namespace qvs
