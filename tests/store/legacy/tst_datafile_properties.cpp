// Properties of the data file over many generated files: the right password
// opens every file the store writes whatever its text holds, and files of
// another writer whose key depends on that writer's generator history read
// back exactly.
#include "store/codepage.h"
#include "store/legacy/encrypt.h"
#include "store/legacy/legacy_file.h"
#include "store/legacy/trailer.h"
#include "store/pw.h"
#include "tests/store/file_builder.h"
#include "tests/store/record_compare.h"
#include "tests/store/store_samples.h"

#include <QtTest>
#include <random>

using namespace ardeko;

namespace {

using Rng = std::mt19937;

int Pick(Rng& rng, int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(rng);
}

// Text with control characters (form feeds from pasted documents, ESC, DEL)
// anywhere, the first character included; every one of them appears across
// the run.
std::string NoteWithControls(Rng& rng, int& nextControl) {
    static const std::string kControls = [] {
        std::string c;
        for (int b = 1; b < 32; ++b)
            c.push_back(static_cast<char>(b));
        c.push_back(char{127});
        return c;
    }();
    std::string s;
    const int n = Pick(rng, 1, 120);
    for (int i = 0; i < n; ++i) {
        if (i == 0 || Pick(rng, 0, 5) == 0)
            s.push_back(kControls[static_cast<std::size_t>(nextControl++) % kControls.size()]);
        else
            s.push_back(static_cast<char>(Pick(rng, 32, 126)));
    }
    return s;
}

std::string RandomPassword(Rng& rng) {
    std::string pw;
    const int n = Pick(rng, 0, 24);
    for (int i = 0; i < n; ++i)
        pw.push_back(static_cast<char>(Pick(rng, 33, 126)));
    return pw;
}

// Words and numbers, as people write notes.
std::string Prose(Rng& rng, int length) {
    static const char* kWords[] = {"opened", "March",  "deposit", "account", "card", "the",
                                   "PIN",    "branch", "renewal", "code",    "of",   "Rome",
                                   "call",   "bank",   "number",  "new",     "old",  "e-mail"};
    std::string s;
    while (static_cast<int>(s.size()) < length) {
        if (Pick(rng, 0, 4) == 0)
            s += std::to_string(Pick(rng, 1, 99999));
        else
            s += kWords[Pick(rng, 0, std::size(kWords) - 1)];
        if (Pick(rng, 0, 7) == 0) s += ".";
        s += ' ';
    }
    s.resize(static_cast<std::size_t>(length));
    return s;
}

// Notes of random characters a person can type, in any language: the
// letters, digits and signs of Windows-1252, tabs and line breaks. With
// symbols and accented letters most likely, they look no more like prose
// than a wrong key's output does.
std::string RandomNote(Rng& rng, int shortest, int longest) {
    static const std::string kUndefined = "\x81\x8D\x8F\x90\x9D";
    std::string bytes;
    for (int n = Pick(rng, shortest, longest); n > 0; --n) {
        const int kind = Pick(rng, 0, 40);
        if (kind == 0) {
            bytes += "\r\n";
        } else if (kind == 1) {
            bytes += '\t';
        } else {
            const bool ascii = kind < 8;
            char c = 0;
            do
                c = static_cast<char>(ascii ? Pick(rng, 0x20, 0x7E) : Pick(rng, 0x80, 0xFF));
            while (kUndefined.find(c) != std::string::npos);
            bytes.push_back(c);
        }
    }
    return Cp1252ToUtf8(bytes);
}

std::vector<T_Password> Decoded(std::string_view image, const std::string& password) {
    const DecodedFile f = DecodeFile(image, password);
    if (f.status != DecodeStatus::Ok || f.truncated) return {};
    return {f.passwords.begin(), f.passwords.end()};
}

} // namespace

class TestDataFileProperties : public QObject {
    Q_OBJECT

private slots:
    void theRightPasswordOpensEveryFileWeWrite() {
        Rng rng(20261207);
        int nextControl = 0;
        for (int file = 0; file < 1000; ++file) {
            clsPW s;
            const int entries = Pick(rng, 1, 4);
            for (int i = 0; i < entries; ++i) {
                T_Password p = SampleEntry("Entry " + std::to_string(i), 0, 0);
                p.Remember = NoteWithControls(rng, nextControl);
                if (Pick(rng, 0, 1)) p.Descr = NoteWithControls(rng, nextControl);
                s.InsertPassword(p);
            }
            const std::string password = RandomPassword(rng);
            EncodedFile out;
            QVERIFY(!EncodeFile({s.Category(), s.SubCategory(), s.Password(), s.NodeStates()},
                                password, out));
            const DecodedFile f = DecodeFile(out.image, password);
            if (f.status != DecodeStatus::Ok)
                QFAIL(qPrintable(QString("file %1 (seed %2) refused").arg(file).arg(out.seed)));
            QCOMPARE(f.passwords.size(), static_cast<std::size_t>(entries));
            QCOMPARE(f.passwords.front().Remember, s.Password()[0].Remember);
        }
    }

    // The twin of the test above for the trailer our writer adds: no
    // one-character typo opens the file; a file whose trailer was cut off
    // wholly is another program's file and opens with the right password,
    // one cut within its trailer is damage, never read as unprotected.
    void noTypoOpensAFileWeWrite() {
        Rng rng(20261208);
        static const std::string kTypoChars =
            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
        long typos = 0;
        for (int file = 0; file < 1000; ++file) {
            clsPW s;
            for (int i = Pick(rng, 1, 3); i > 0; --i)
                s.InsertPassword(SampleEntry("Entry " + std::to_string(i)));
            std::string password = RandomPassword(rng);
            if (password.empty()) password = "x";
            EncodedFile out;
            FileKey key;
            QVERIFY(!EncodeFile({s.Category(), s.SubCategory(), s.Password(), s.NodeStates()},
                                password, out));
            QVERIFY(NewFileKey(password, MinimalKdfParams(), key));
            const std::size_t legacyBytes = out.image.size();
            QVERIFY(AppendTrailer(out.image, key));
            QCOMPARE(DecodeFile(out.image, password).status, DecodeStatus::Ok);
            // Every file gets every typo at one position; the first hundred
            // at every position.
            const std::size_t only = static_cast<std::size_t>(Pick(rng, 0, 1000)) % password.size();
            for (std::size_t at = 0; at < password.size(); ++at) {
                if (file >= 100 && at != only) continue;
                for (char c : kTypoChars) {
                    if (c == password[at]) continue;
                    std::string typo = password;
                    typo[at] = c;
                    ++typos;
                    if (DecodeFile(out.image, typo).status != DecodeStatus::WrongPassword)
                        QFAIL(qPrintable(
                            QString("file %1: a typo at %2 was not refused").arg(file).arg(at)));
                }
            }
            const auto cut = static_cast<std::size_t>(Pick(rng, 1, kTrailerBytes));
            const DecodedFile f =
                DecodeFile(std::string_view(out.image).substr(0, out.image.size() - cut), password);
            const bool whole =
                f.status == DecodeStatus::Ok && f.passwords.size() == s.Password().Count();
            if (cut == kTrailerBytes ? !whole : f.status != DecodeStatus::Damaged)
                QFAIL(qPrintable(QString("file %1: cut by %2 bytes").arg(file).arg(cut)));
            QVERIFY(cut < kTrailerBytes || out.image.size() - cut == legacyBytes);
        }
        QVERIFY(typos > 100000);
    }

    void historyDependentSeedsReadBackExactly() {
        Rng rng(4242);
        CheckHistoryDependentFiles(rng, 300, [](Rng& r, bool remember) {
            if (!remember) return Prose(r, Pick(r, 0, 300));
            return Prose(r, Pick(r, 0, 1) ? Pick(r, 0, 40) : Pick(r, 200, 700));
        });
    }

    // Notes of random characters read like a wrong key's output to a judge
    // of prose; only characters that no typed text holds tell them apart.
    void historyDependentSeedsWithRandomNotesReadBackExactly() {
        Rng rng(777);
        CheckHistoryDependentFiles(rng, 40, [](Rng& r, bool) { return RandomNote(r, 400, 1500); });
    }

    // Long notes of either kind: the decodes that are left differ in a few
    // bytes, where random characters look no less like text than a wrong
    // key's, and prose looks more like text than either.
    void historyDependentSeedsWithLongNotesReadBackExactly() {
        Rng rng(2);
        CheckHistoryDependentFiles(rng, 150, [](Rng& r, bool remember) {
            if (remember) return Prose(r, Pick(r, 0, 40));
            return Pick(r, 0, 1) ? Prose(r, Pick(r, 0, 2500)) : RandomNote(r, 0, 2500);
        });
    }

private:
    // files files of another writer, each with a seed whose lowest byte is 0
    // and the writer's generator left wherever its history took it.
    template <class Notes> void CheckHistoryDependentFiles(Rng& rng, int files, Notes notes) {
        int failures = 0;
        QString first;
        for (int file = 0; file < files; ++file) {
            const std::string password = file % 3 == 0 ? "" : RandomPassword(rng);
            std::int32_t seed =
                static_cast<std::int32_t>(static_cast<std::uint32_t>(rng()) & 0x7FFFFF00u);
            if (file % 2) seed = ~seed;
            clsEncrypt cipher;
            cipher.Init("history", static_cast<std::int32_t>(rng() % 100000 + 1));
            for (int i = Pick(rng, 0, 3); i > 0; --i)
                cipher.EncString("x", true);
            cipher.Init(password, seed);
            FileBuilder b("<Password File 1.03>", seed, password, &cipher);
            b.Count(0);
            b.Count(0);
            const int entries = Pick(rng, 1, 3);
            b.Count(static_cast<std::int16_t>(entries));
            std::vector<T_Password> expected;
            for (int i = 0; i < entries; ++i) {
                T_Password p = SampleEntry("Service " + std::to_string(i));
                p.Dt_Insert = 46000;
                p.Dt_Modif = 46010;
                p.Remember = notes(rng, true);
                p.Descr = notes(rng, false);
                b.Password(p);
                expected.push_back(p);
            }
            b.Count(0);
            if (Decoded(b.Bytes(), password) != expected) {
                ++failures;
                if (first.isEmpty()) first = QString("file %1, seed %2").arg(file).arg(seed);
            }
        }
        QVERIFY2(failures == 0, qPrintable(QString("%1 of %2 files read back wrong, first: %3")
                                               .arg(failures)
                                               .arg(files)
                                               .arg(first)));
    }
};

QTEST_GUILESS_MAIN(TestDataFileProperties)
#include "tst_datafile_properties.moc"
