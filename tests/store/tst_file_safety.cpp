// What the store does with files that are not what they seem: cut right
// after the header, not regular files, too large, unreadable, impossible
// dates; and saves into awkward places: no name, links, other owners,
// read-only folders, leftovers of killed saves.
#include "store/io/file_io.h"
#include "store/legacy/legacy_file.h"
#include "store/pw.h"
#include "tests/store/file_builder.h"
#include "tests/store/store_samples.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <limits>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace ardeko;

namespace {

std::string ReadBytes(const std::string& path) {
    std::string out;
    return ReadWholeFile(path, out) ? std::string() : out;
}

void WriteBytes(const std::string& path, std::string_view bytes) {
    QFile f(QString::fromStdString(path));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

// A store with something in it and a known file name, to see that a failed
// load leaves it alone.
void Occupied(clsPW& s) {
    FillSample(s);
    s.SetFilename("/somewhere/Open.QVS");
}

} // namespace

class TestFileSafety : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    std::string Path(const char* name) { return dir.filePath(name).toStdString(); }

private slots:
    void filesCutAfterTheirHeaderLoadEmptyWithTheWarning() {
        clsPW w;
        w.SetFilePW("Secret");
        w.SetFormat(FileFormat::Legacy); // a format-2 file that is cut shows nothing
        const std::string whole = Path("whole.QVS");
        QVERIFY(w.SaveFile(whole, false));
        const std::string bytes = ReadBytes(whole);
        const std::size_t header = 2 + 20 + 4 + 2 + DecodeHeader(bytes).storedPassword.size() + 2;
        for (std::size_t cut : {header, header + 1, header + 2}) {
            const std::string path = Path("cut.QVS");
            WriteBytes(path, std::string_view(bytes).substr(0, cut));
            clsPW s;
            QVERIFY2(s.LoadFile(path, "Secret"), s.ErrDescr().c_str());
            QCOMPARE(s.ErrNum(), Code(StoreError::DamagedFile));
            QVERIFY(s.Password().Empty());
            QVERIFY(!s.LoadFile(path, "Wrong"));
        }
    }

    void onlyRegularDataFilesAreRead() {
        clsPW s;
        Occupied(s);
        const std::string fifo = Path("pipe.QVS");
        QCOMPARE(::mkfifo(fifo.c_str(), 0600), 0);
        QVERIFY(!s.LoadFile(fifo)); // returns at once instead of waiting for a writer
        QCOMPARE(s.ErrNum(), Code(StoreError::PathFileAccess));
        QVERIFY(s.ErrDescr().find("not a regular file") != std::string::npos);
        QVERIFY(!s.FileExist(fifo));
        QVERIFY(!s.ImportFile(fifo));

        // A folder, or a file the user may not read, is no "not found", and
        // the open store stays as it was.
        QVERIFY(!s.LoadFile(dir.path().toStdString()));
        QCOMPARE(s.ErrNum(), Code(StoreError::PathFileAccess));
        QVERIFY(s.ErrDescr().find("Is a directory") != std::string::npos);
        QCOMPARE(s.Filename(), std::string("/somewhere/Open.QVS"));
        QCOMPARE(s.Password().Count(), std::size_t{4});
        if (::geteuid() != 0) {
            const std::string locked = Path("locked.QVS");
            WriteBytes(locked, "x");
            ::chmod(locked.c_str(), 0);
            QVERIFY(!s.LoadFile(locked));
            QCOMPARE(s.ErrNum(), Code(StoreError::PermissionDenied));
            QCOMPARE(s.Password().Count(), std::size_t{4});
        }

        // Another kind of file is refused by its first bytes; a data file's
        // header on something larger than any data file can be, by its size
        // (a sparse file: neither is read).
        const std::string other = Path("other.QVS");
        WriteBytes(other, std::string("PK\x03\x04") + std::string(100, 'z'));
        QVERIFY(::truncate(other.c_str(), 400 << 20) == 0);
        QVERIFY(!s.LoadFile(other));
        QCOMPARE(s.ErrNum(), Code(StoreError::BadFile));
        const std::string huge = Path("huge.QVS");
        WriteBytes(huge, std::string("\x14\x00<Password File 1.03>", 22));
        QVERIFY(::truncate(huge.c_str(), static_cast<off_t>(kMaxFileSize + 1)) == 0);
        QVERIFY(!s.LoadFile(huge));
        QCOMPARE(s.ErrNum(), Code(StoreError::TooLarge));
        QCOMPARE(s.Password().Count(), std::size_t{4});
    }

    void impossibleDatesAndCountsAreDamage() {
        const double bad[] = {std::nan(""), std::numeric_limits<double>::infinity(),
                              -std::numeric_limits<double>::infinity(), 1e300, -1e300};
        for (double d : bad) {
            FileBuilder b("<Password File 1.03>", 0, "", nullptr);
            b.Count(0);
            b.Count(0);
            b.Count(1);
            T_Password p = SampleEntry("Odd");
            p.Dt_Expire = d;
            p.Data3 = d;
            p.blExpire = true;
            b.Password(p);
            b.Count(0);
            const std::string path = Path("dates.QVS");
            WriteBytes(path, b.Bytes());
            clsPW s;
            QVERIFY(s.LoadFile(path));
            QCOMPARE(s.ErrNum(), Code(StoreError::DamagedFile));
            const T_Password& got = s.Password()[0];
            QCOMPARE(got.Dt_Expire, 0.0);
            QCOMPARE(got.Data3, 0.0);
            QCOMPARE(got.Dt_Insert, 46000.0);
            s.DueOf(got);
            s.ExpiredNumber();
            QVERIFY2(s.SaveFile(path, false), s.ErrDescr().c_str());
        }
        FileBuilder b("<Password File 1.03>", 0, "", nullptr);
        b.Count(1);
        b.Categ({1, "Banks", false});
        b.Count(-3);
        const std::string path = Path("counts.QVS");
        WriteBytes(path, b.Bytes());
        clsPW s;
        QVERIFY(s.LoadFile(path));
        QCOMPARE(s.ErrNum(), Code(StoreError::DamagedFile));
        QCOMPARE(s.Category().Count(), std::size_t{1});
    }

    void aNewStoreHasNoFileToSaveTo() {
        const QString before = QDir::currentPath();
        QDir::setCurrent(dir.path());
        clsPW s;
        s.NewFile();
        s.InsertPassword(SampleEntry("Kept"));
        QVERIFY(!s.SaveFile());
        QCOMPARE(s.ErrNum(), Code(StoreError::BadFileName));
        QVERIFY(!QFile::exists(dir.filePath("<New QVS File>")));
        QVERIFY(!s.SaveFile("", false));
        QDir::setCurrent(before);
    }

    void savesKeepLinksOwnersAndTidyUp() {
        QDir(dir.path()).mkpath("real");
        const std::string real = Path("real/Data.QVS");
        const std::string link = Path("Data.QVS");
        clsPW s;
        FillSample(s);
        QVERIFY(s.SaveFile(real, false));
        QCOMPARE(::symlink(real.c_str(), link.c_str()), 0);
        ::chmod(real.c_str(), 0640);
        // Leftovers of saves killed midway; another file's are not ours.
        for (const char* stale : {"real/.Data.QVS.aB3dE9", "real/.Data.QVS.zzzzzz"})
            WriteBytes(Path(stale), "partial");
        WriteBytes(Path("real/.Other.QVS.aB3dE9"), "not ours");
        if (::geteuid() == 0) QCOMPARE(::chown(real.c_str(), 12345, 23456), 0);

        s.InsertPassword(SampleEntry("Added"));
        QVERIFY2(s.SaveFile(link, true), s.ErrDescr().c_str());
        struct stat st {};
        QCOMPARE(::lstat(link.c_str(), &st), 0);
        QVERIFY(S_ISLNK(st.st_mode));
        QCOMPARE(::stat(real.c_str(), &st), 0);
        QCOMPARE(st.st_mode & 07777, 0640u);
        if (::geteuid() == 0) {
            QCOMPARE(st.st_uid, 12345u);
            QCOMPARE(st.st_gid, 23456u);
        }
        clsPW r;
        QVERIFY(r.LoadFile(real));
        QCOMPARE(r.Password().Count(), std::size_t{5});
        QVERIFY(!QFile::exists(dir.filePath("real/.Data.QVS.aB3dE9")));
        QVERIFY(!QFile::exists(dir.filePath("real/.Data.QVS.zzzzzz")));
        QVERIFY(QFile::exists(dir.filePath("real/.Other.QVS.aB3dE9")));
        const QStringList left = QDir(dir.filePath("real")).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(left.join(","), QString(".Other.QVS.aB3dE9,Data.QVS"));
        QVERIFY(QFile::exists(dir.filePath("Data.BCK"))); // beside the name the user gave
    }

    // A writable file in a folder the user may not write to is saved in
    // place. Run as an unprivileged user, since the superuser may write any
    // folder.
    void aReadOnlyFolderIsSavedInPlace() {
        QDir(dir.path()).mkpath("ro");
        const std::string folder = Path("ro");
        const std::string file = Path("ro/Data.QVS");
        {
            clsPW s;
            FillSample(s);
            QVERIFY(s.SaveFile(file, false));
        }
        const bool root = ::geteuid() == 0;
        const uid_t user = root ? 65534 : ::geteuid();
        if (root) {
            ::chmod(dir.path().toUtf8().constData(), 0755);
            QCOMPARE(::chown(folder.c_str(), user, user), 0);
            QCOMPARE(::chown(file.c_str(), user, user), 0);
        }
        ::chmod(folder.c_str(), 0555);
        const pid_t child = ::fork();
        if (child == 0) {
            if (root && (::setgid(user) != 0 || ::setuid(user) != 0)) ::_exit(3);
            clsPW s;
            if (!s.LoadFile(file)) ::_exit(4);
            s.InsertPassword(SampleEntry("Added"));
            ::_exit(s.SaveFile(file, true) ? 0 : 5);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        ::chmod(folder.c_str(), 0755);
        QCOMPARE(WEXITSTATUS(status), 0);
        clsPW r;
        QVERIFY(r.LoadFile(file));
        QCOMPARE(r.Password().Count(), std::size_t{5});
    }

    // A backup that cannot be a link (another file system, or a save that
    // rewrites in place) is copied under a temporary name first, so it is
    // whole or absent, and an existing backup is never replaced.
    void copiedBackupsAreWholeOrAbsent() {
        const std::string from = Path("orig.QVS");
        const std::string to = Path("copy.BCK");
        WriteBytes(from, std::string(300000, 'q'));
        QVERIFY(KeepBackupCopy(from, to, false));
        QCOMPARE(ReadBytes(to), std::string(300000, 'q'));
        WriteBytes(from, "changed");
        QVERIFY(!KeepBackupCopy(from, to, false));
        QCOMPARE(ReadBytes(to).size(), std::size_t{300000});
        const QStringList hidden =
            QDir(dir.path()).entryList({".copy.BCK*"}, QDir::Files | QDir::Hidden);
        QVERIFY(hidden.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestFileSafety)
#include "tst_file_safety.moc"
