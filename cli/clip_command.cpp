// qvs-cli clip: one field of an entry on the desktop clipboard for a while.
// qvs-cli has no windows, so the helper qvs-clip installed beside it holds
// the clipboard (an X11 clipboard lives only as long as its owner), marks
// the text as a secret for clipboard managers and clears it in time.
#include "cli/commands.h"
#include "store/crypto/secret_key.h"
#include "store/otp_hmac.h"
#include "store/pw.h"
#include "store/totp.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <charconv>
#include <climits>
#include <ctime>
#include <filesystem>
#include <iostream>

extern char** environ;

namespace qvs {

namespace {

constexpr int kDefaultSeconds = 30;

// The helper beside this program (found through /proc, never through the
// environment, so nothing outside the installation can stand in for it).
std::string HelperPath() {
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : (self.parent_path() / "qvs-clip").string();
}

// Closes a descriptor when it goes.
struct Fd {
    int fd = -1;
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
};

// Starts the helper in a session of its own, hands it text and returns its
// one-line answer ("ok", or why the clipboard could not be reached).
std::string RunHelper(const std::string& path, const std::string& text, int seconds) {
    int in[2], out[2];
    if (::pipe2(in, O_CLOEXEC) != 0) return "no pipe could be made";
    Fd inRead{in[0]}, inWrite{in[1]};
    if (::pipe2(out, O_CLOEXEC) != 0) return "no pipe could be made";
    Fd outRead{out[0]}, outWrite{out[1]};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
    const std::string secondsText = std::to_string(seconds);
    char* argv[] = {const_cast<char*>(path.c_str()), const_cast<char*>(secondsText.c_str()),
                    nullptr};
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, path.c_str(), &actions, &attr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (spawned != 0) return "the helper " + path + " could not be started";
    ::close(inRead.fd);
    inRead.fd = -1;
    ::close(outWrite.fd);
    outWrite.fd = -1;
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(inWrite.fd, text.data() + done, text.size() - done);
        if (n <= 0) break;
        done += std::size_t(n);
    }
    ::close(inWrite.fd);
    inWrite.fd = -1;
    std::string answer;
    char buf[256];
    for (ssize_t n; (n = ::read(outRead.fd, buf, sizeof buf)) > 0;)
        answer.append(buf, std::size_t(n));
    while (!answer.empty() && answer.back() == '\n')
        answer.pop_back();
    // A helper that gave up has ended: no zombie is left behind. One that
    // holds the clipboard goes on in its own session.
    if (answer != "ok") ::waitpid(pid, nullptr, 0);
    return answer.empty() ? "the helper ended without an answer" : answer;
}

std::optional<int> FieldText(const Options& o, const ardeko::T_Password& p, std::string& text) {
    const std::string field = o.Value("--field", "password");
    if (field == "password") {
        text = p.pw;
    } else if (field == "user") {
        text = p.User;
    } else if (field == "url") {
        text = p.URL_Access;
    } else if (field == "code") {
        if (p.Totp.empty())
            return Fail("entry \"" + p.service + "\" has no one-time code", kExitNotFound);
        const auto now = ardeko::TotpCodeAt(p.Totp, static_cast<std::int64_t>(std::time(nullptr)),
                                            &ardeko::OtpHmac);
        if (!now) return Fail("the one-time code of entry \"" + p.service + "\" cannot be read");
        text = now->code;
    } else if (const ardeko::T_CustomField* f =
                   FindExtraField(p, field, "password, user, url, code")) {
        text = f->value; // a key of several lines goes as it is
    } else {
        return kExitNotFound;
    }
    return std::nullopt;
}

} // namespace

int RunClip(const Options& options) {
    int seconds = kDefaultSeconds;
    if (options.Has("--seconds")) {
        const std::string v = options.Value("--seconds");
        const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), seconds);
        if (ec != std::errc() || end != v.data() + v.size() || seconds < 1 || seconds > 3600)
            return UsageFail("--seconds needs a number from 1 to 3600");
    }
    ardeko::clsPW store;
    if (auto code = OpenStore(options, store)) return *code;
    const ardeko::T_Password* p = store.Password().Find(options.service);
    if (!p) return Fail("no entry named \"" + options.service + "\"", kExitNotFound);
    std::string text;
    if (auto code = FieldText(options, *p, text)) return *code;
    // An empty value would only wipe what the user had copied.
    if (text.empty())
        return Fail("the field \"" + options.Value("--field", "password") + "\" of entry \"" +
                        p->service + "\" is empty; nothing was copied",
                    kExitNotFound);
    const std::string answer = RunHelper(HelperPath(), text, seconds);
    ardeko::WipeString(text);
    if (answer != "ok") return Fail("nothing was copied: " + answer);
    std::cerr << "qvs-cli: copied; the clipboard is cleared in " << seconds << " s\n";
    return kExitOk;
}

} // namespace qvs
