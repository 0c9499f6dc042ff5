// Reads this process's own writable memory (/proc/self/maps and
// /proc/self/mem) for copies of a file password and an entry password
// after a format-2 file was saved, opened and closed.
#include "store/pw.h"
#include "store/secret_key.h"
#include "tests/store/store_samples.h"

#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <fstream>
#include <unistd.h>

using namespace ardeko;

namespace {

// The secrets are kept masked, so that the scan does not find the copy it
// searches with; each is unmasked only into a string the test wipes.
constexpr unsigned char kMask = 0x5A;
std::string Masked(const char* plain) {
    std::string m(plain);
    for (char& c : m)
        c = static_cast<char>(c ^ kMask);
    return m;
}
const std::string kFilePassword = Masked("file-password-0123456789-xyz");
const std::string kEntryPassword = Masked("entry-secret-9876543210-abc");
const std::string kEarlierPassword = Masked("earlier-secret-5555555555-def");
const std::string kCode = Masked("otpauth://totp/?secret=MFRGGZDFMZTWQ2LKNNWG23TPOBYXE");

std::string Unmasked(const std::string& masked) {
    std::string s(masked.size(), '\0');
    for (std::size_t i = 0; i < s.size(); ++i)
        s[i] = static_cast<char>(masked[i] ^ kMask);
    return s;
}

bool MatchesAt(const char* p, std::size_t room, const std::string& masked) {
    if (room < masked.size()) return false;
    for (std::size_t i = 0; i < masked.size(); ++i)
        if (static_cast<char>(p[i] ^ kMask) != masked[i]) return false;
    return true;
}

constexpr unsigned long kLargestSearched = 1ul << 32;

// Every readable and writable mapping, searched for the unmasked bytes.
bool InMemory(const std::string& masked) {
    const int mem = ::open("/proc/self/mem", O_RDONLY);
    if (mem < 0) return false;
    std::ifstream maps("/proc/self/maps");
    std::string line;
    std::vector<char> buffer(1 << 20);
    bool found = false;
    while (!found && std::getline(maps, line)) {
        unsigned long start = 0, end = 0;
        char perms[5] = {};
        if (std::sscanf(line.c_str(), "%lx-%lx %4s", &start, &end, perms) != 3) continue;
        if (perms[0] != 'r' || perms[1] != 'w' || line.find("[vvar") != std::string::npos) continue;
        // Terabyte reservations (a sanitizer's shadow memory) are never-touched
        // pages; reading them would take hours. The test's heap is far smaller.
        if (end - start > kLargestSearched) continue;
        // Chunks overlap by the needle's length, so nothing is missed at a seam.
        for (unsigned long at = start; !found && at < end; at += buffer.size() - masked.size()) {
            const std::size_t want = std::min<unsigned long>(buffer.size(), end - at);
            const ssize_t got = ::pread(mem, buffer.data(), want, static_cast<off_t>(at));
            if (got <= 0) break;
            const auto n = static_cast<std::size_t>(got);
            const char first = static_cast<char>(masked[0] ^ kMask);
            for (const char* p = buffer.data(); !found && p < buffer.data() + n; ++p) {
                p = static_cast<const char*>(std::memchr(p, first, buffer.data() + n - p));
                if (!p) break;
                found = MatchesAt(p, buffer.data() + n - p, masked);
            }
            if (n < want) break;
        }
    }
    ::close(mem);
    std::fill(buffer.begin(), buffer.end(), 0);
    return found;
}

} // namespace

class TestSecretsInMemory : public QObject {
    Q_OBJECT

private slots:
    void theScanFindsWhatIsThere() {
        std::string held = Unmasked(kFilePassword);
        QVERIFY(InMemory(kFilePassword));
        WipeString(held);
        QVERIFY(!InMemory(kFilePassword));
    }

    void noCopyAfterOpeningAndClosing() {
        QTemporaryDir dir;
        const std::string path = dir.filePath("m.QVS").toStdString();
        {
            clsPW s;
            s.NewFile();
            T_Password p = SampleEntry("Bank");
            std::string secret = Unmasked(kEntryPassword);
            p.pw.swap(secret);
            p.History.push_back({Unmasked(kEarlierPassword), 46000});
            p.Totp = Unmasked(kCode);
            s.InsertPassword(p);
            WipeString(p.pw);
            WipeString(p.History[0].pw);
            WipeString(p.Totp);
            std::string password = Unmasked(kFilePassword);
            s.SetFilePW(password);
            WipeString(password);
            QVERIFY(s.SaveFile(path, false));
            QVERIFY(!s.HoldsFilePassword());
        }
        QVERIFY(!InMemory(kFilePassword));
        for (const std::string* secret : {&kEntryPassword, &kEarlierPassword, &kCode})
            QVERIFY(!InMemory(*secret));

        clsPW r;
        std::string password = Unmasked(kFilePassword);
        QVERIFY(r.LoadFile(path, password));
        WipeString(password);
        // Open: the key is held, the password is not.
        QVERIFY(!InMemory(kFilePassword));
        QVERIFY(InMemory(kEntryPassword));
        QVERIFY(InMemory(kEarlierPassword));
        r.NewFile(); // closing the file
        QVERIFY(!InMemory(kFilePassword));
        for (const std::string* secret : {&kEntryPassword, &kEarlierPassword, &kCode})
            QVERIFY(!InMemory(*secret));
    }
};

QTEST_GUILESS_MAIN(TestSecretsInMemory)
#include "tst_secrets_in_memory.moc"
