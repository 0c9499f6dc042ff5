// qvs-cli passwd: a new file password and, for format 2, slower guessing.
#include "cli/commands.h"
#include "cli/file_change.h"
#include "store/crypto/kdf.h"
#include "store/crypto/secret_key.h"

#include <algorithm>
#include <charconv>
#include <iostream>

namespace qvs {

namespace {

// Key settings that make a derivation take about ms here, never weaker than
// the file's own.
std::optional<ardeko::KdfParams> StrongerFor(const ardeko::KdfParams& now, const std::string& ms) {
    int millis = 0;
    const auto [end, ec] = std::from_chars(ms.data(), ms.data() + ms.size(), millis);
    if (ec != std::errc() || end != ms.data() + ms.size() || millis < 1 || millis > 60000)
        return std::nullopt;
    ardeko::KdfParams p = ardeko::CalibrateKdf(now.memoryKiB, millis / 1000.0);
    p.passes = std::max(p.passes, now.passes);
    p.memoryKiB = std::max(p.memoryKiB, now.memoryKiB);
    return p;
}

} // namespace

int RunPasswd(const Options& options) {
    std::optional<ardeko::KdfParams> stronger;
    FileChange change(options);
    if (auto code = change.Open()) return *code;
    ardeko::clsPW& store = change.Store();
    if (options.Has("--kdf-ms")) {
        if (store.Format() != ardeko::FileFormat::Two)
            return Fail("a file of the legacy format has no key settings; convert it to format 2 "
                        "first (qvs-cli convert)",
                        kExitRefused);
        stronger = StrongerFor(store.KdfSettings(), options.Value("--kdf-ms"));
        if (!stronger) return UsageFail("--kdf-ms needs a number of milliseconds, 1 to 60000");
    }
    std::string password;
    if (int code = ReadNewFilePassword(options, password)) return code;
    store.SetFilePW(password);
    const bool raised = !stronger || store.RaiseKdf(*stronger, password);
    ardeko::WipeString(password);
    if (!raised) return FailStore(store);
    if (int code = change.Save()) return code;
    if (stronger)
        std::cerr << "qvs-cli: key settings now " << stronger->passes << " passes, "
                  << stronger->memoryKiB << " KiB\n";
    return kExitOk;
}

} // namespace qvs
