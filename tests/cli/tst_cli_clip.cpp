// qvs-cli clip on a real (headless) X desktop: the value arrives on the
// clipboard marked for clipboard managers, leaves it when its time is over,
// stays away from what someone else copied meanwhile; extra fields, and
// sessions that cannot be reached. The test reads the clipboard itself; what
// "someone else" copies comes from a copy of the test started as another
// program (its own X connection, with a fresh time for the X server).
#include "autotype/secret_clipboard.h"
#include "tests/autotype/x_desktop.h"
#include "tests/cli/cli_run.h"

#include <QClipboard>
#include <QDeadlineTimer>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

std::unique_ptr<XDesktop> desktop;

constexpr char kFilePassword[] = "file-pw\n";
const QString kPassword = QStringLiteral("Gr\u00fcn-7$pass word");
const QString kPin = QStringLiteral("4711");
const QString kKey = QStringLiteral("-----BEGIN KEY-----\nabc\n-----END KEY-----\n");

struct Clipboard {
    QString text;
    QByteArray hint;
};

// The events that tell of a new owner are taken in first: Qt keeps what it
// read of the clipboard until they arrive.
Clipboard Read() {
    QTest::qWait(200);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data) return {};
    return {data->text(), data->data(QString::fromLatin1(qvs::kPasswordHintType))};
}

// Waits until the clipboard holds no text; false when it still does.
bool WaitEmpty(int ms) {
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        if (Read().text.isEmpty()) return true;
        QTest::qWait(100);
    }
    return Read().text.isEmpty();
}

Run Clip(const QString& file, const QStringList& more, const QProcessEnvironment& env) {
    return RunCli(QStringList{"clip", file, "Bank"} << more << "--password-stdin", kFilePassword,
                  env);
}

constexpr char kCopierOption[] = "--copy-as-another-program";

// Another program that copies text and holds the clipboard until it ends.
class OtherProgram {
public:
    explicit OtherProgram(const QString& text) {
        process_.start(QCoreApplication::applicationFilePath(), {kCopierOption, text});
        ready_ = process_.waitForReadyRead(20000) && process_.readLine().trimmed() == "copied";
    }
    ~OtherProgram() {
        process_.kill();
        process_.waitForFinished(5000);
    }
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;
    bool Ready() const { return ready_; }

private:
    QProcess process_;
    bool ready_ = false;
};

int RunOtherProgram(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    QGuiApplication::clipboard()->setText(QString::fromUtf8(argv[2]));
    std::puts(QGuiApplication::clipboard()->ownsClipboard() ? "copied" : "not copied");
    std::fflush(stdout);
    return app.exec();
}

} // namespace

class TestCliClip : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString file_;

    Run Clip(const QStringList& more) {
        return ::Clip(file_, more, QProcessEnvironment::systemEnvironment());
    }

private slots:
    void initTestCase() {
        if (!desktop->SkipReason().isEmpty()) QSKIP(qPrintable(desktop->SkipReason()));
        // A format-2 file with one entry: a user name, a password, a
        // protected PIN, a protected key of several lines and a plain field.
        const QJsonObject entry{
            {"service", "Bank"},
            {"User", "anna"},
            {"pw", kPassword},
            {"Fields",
             QJsonArray{
                 QJsonObject{{"name", "PIN"}, {"protected", true}, {"value", kPin}},
                 QJsonObject{{"name", "Key"}, {"protected", true}, {"value", kKey}},
                 QJsonObject{{"name", "Branch"}, {"protected", false}, {"value", "Zürich"}}}}};
        QFile json(dir_.filePath("in.json"));
        QVERIFY(json.open(QIODevice::WriteOnly));
        json.write(QJsonDocument(QJsonObject{{"Password", QJsonArray{entry}}}).toJson());
        json.close();
        file_ = dir_.filePath("data.qvs");
        const Run made = RunCli(
            {"create", file_, "--from", json.fileName(), "--format", "2", "--password-stdin"},
            kFilePassword);
        QVERIFY2(made.exitCode == 0, made.err);
    }

    // The password arrives marked as a secret, and is gone once the time is over.
    void copiesThePasswordAndClearsIt() {
        const Run r = Clip({"--seconds", "3"});
        QVERIFY2(r.exitCode == 0, r.err);
        QVERIFY(r.err.contains("cleared in 3 s"));
        QVERIFY(!r.out.contains(kPassword.toUtf8()) && !r.err.contains(kPassword.toUtf8()));
        const Clipboard now = Read();
        QCOMPARE(now.text, kPassword);
        QCOMPARE(now.hint, QByteArray(qvs::kPasswordHintSecret));
        QVERIFY2(WaitEmpty(20000), "the password stayed on the clipboard");
    }

    // What the user copied after the password is theirs: never cleared.
    void leavesSomeoneElsesCopyAlone() {
        QVERIFY(Clip({"--seconds", "2"}).exitCode == 0);
        QCOMPARE(Read().text, kPassword);
        QVERIFY(desktop->FindProcess("qvs-clip") > 0);
        OtherProgram other(QStringLiteral("my own note"));
        QVERIFY(other.Ready());
        // The helper ends when another copy takes the clipboard, at the
        // latest once its time is over: nothing of it can clear it after.
        QTRY_COMPARE_WITH_TIMEOUT(desktop->FindProcess("qvs-clip"), qint64(0), 10000);
        QCOMPARE(Read().text, QStringLiteral("my own note"));
    }

    // The user name, and extra fields, protected or not, by name; a key of
    // several lines as it is. Each marked and cleared like the password.
    void copiesTheFieldNamed_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("expected");
        QTest::newRow("user name") << "user"
                                   << "anna";
        QTest::newRow("protected field") << "PIN" << kPin;
        QTest::newRow("key of several lines") << "Key" << kKey;
        QTest::newRow("plain field") << "Branch" << QStringLiteral("Zürich");
    }
    void copiesTheFieldNamed() {
        QFETCH(QString, field);
        QFETCH(QString, expected);
        const Run r = Clip({"--field", field, "--seconds", "3"});
        QVERIFY2(r.exitCode == 0, r.err);
        const Clipboard now = Read();
        QCOMPARE(now.text, expected);
        QCOMPARE(now.hint, QByteArray(qvs::kPasswordHintSecret));
        QVERIFY2(WaitEmpty(20000), "the field stayed on the clipboard");
    }

    // A field the entry lacks, or one without a value, leaves the user's
    // clipboard as it was.
    void missingOrEmptyFieldCopiesNothing_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("said");
        QTest::newRow("no such field") << "pin"
                                       << "has no field \"pin\""; // names match exactly
        QTest::newRow("empty address") << "url"
                                       << "\"url\" of entry \"Bank\" is empty";
    }
    void missingOrEmptyFieldCopiesNothing() {
        QFETCH(QString, field);
        QFETCH(QString, said);
        OtherProgram other(QStringLiteral("before"));
        QVERIFY(other.Ready());
        const Run r = Clip({"--field", field});
        QCOMPARE(r.exitCode, 4);
        QVERIFY2(r.err.contains(said.toUtf8()), r.err);
        QCOMPARE(Read().text, QStringLiteral("before"));
    }

    // A session that cannot be reached: said so, exit 3, the secret nowhere.
    void unreachableSessionSaysSo_data() {
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("wayland");
        QTest::addColumn<QString>("said");
        QTest::newRow("no X server there") << ":4093"
                                           << "wayland-nowhere"
                                           << "\":4093\"";
        QTest::newRow("Wayland only") << ""
                                      << "wayland-nowhere"
                                      << "no XWayland";
        QTest::newRow("no session") << ""
                                    << ""
                                    << "neither DISPLAY";
    }
    void unreachableSessionSaysSo() {
        QFETCH(QString, display);
        QFETCH(QString, wayland);
        QFETCH(QString, said);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        if (!display.isEmpty()) env.insert("DISPLAY", display);
        if (!wayland.isEmpty()) env.insert("WAYLAND_DISPLAY", wayland);
        const Run r = ::Clip(file_, {}, env);
        QCOMPARE(r.exitCode, 3);
        QVERIFY2(r.err.startsWith("qvs-cli: nothing was copied: "), r.err);
        QVERIFY2(r.err.contains(said.toUtf8()), r.err);
        QVERIFY(!r.err.contains(kPassword.toUtf8()) && r.out.isEmpty());
    }
};

// The desktop comes first: the application connects to its display.
int main(int argc, char* argv[]) {
    if (argc == 3 && std::strcmp(argv[1], kCopierOption) == 0) return RunOtherProgram(argc, argv);
    desktop = std::make_unique<XDesktop>();
    if (desktop->SkipReason().isEmpty()) qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    TestCliClip test;
    const int result = QTest::qExec(&test, argc, argv);
    desktop.reset();
    return result;
}

#include "tst_cli_clip.moc"
