// QVS on a wlroots desktop, a headless sway whose bar has a tray: its main
// window and its tray menu in each language, as screenshots in the build
// folder (QVS_SHOTS) for a person to look at, and what can be checked
// without eyes: the window is mapped with the file in its title; the icon
// sits in the bar's tray; a right click on it (as the bar passes it on)
// opens the menu as a small floating window, not one stretched over the
// screen, holding the file's categories and the commands in the language.
#include "frame/language.h"
#include "store/pw.h"
#include "tests/autotype/wayland_desktop.h" // also marks the test as one on a desktop
#include "tests/autotype/wayland_tray.h"
#include "tests/qvs/desktop_fixture.h"

#include <QApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRect>
#include <QtTest>

namespace {

constexpr int kWaitMs = DesktopFixture::kWaitMs;

void WriteDataFile(const QString& path) {
    ardeko::clsPW store;
    store.NewFile();
    store.CatAdd("Mail");
    store.CatAdd("Banks");
    int category = 1;
    for (const char* service : {"Webmail", "Bank"}) {
        ardeko::T_Password entry;
        entry.service = service;
        entry.Codcat = std::int16_t(category++);
        entry.User = "jürgen";
        entry.pw = "pä{ENTER}€x";
        if (!store.PWAdd(entry)) qFatal("cannot add an entry");
    }
    if (!store.SaveFile(path.toStdString(), false, false)) qFatal("cannot write the data file");
}

// A window on the desktop: its title, place and size, and whether it floats.
struct Shown {
    QString title;
    QRect rect;
    bool floating = false;
};

void Collect(const QJsonObject& node, qint64 pid, bool floating, QList<Shown>& found) {
    if (node.value(QLatin1String("pid")).toInteger() == pid &&
        node.value(QLatin1String("visible")).toBool()) {
        const QJsonObject r = node.value(QLatin1String("rect")).toObject();
        found << Shown{node.value(QLatin1String("name")).toString(),
                       QRect(r.value(QLatin1String("x")).toInt(),
                             r.value(QLatin1String("y")).toInt(),
                             r.value(QLatin1String("width")).toInt(),
                             r.value(QLatin1String("height")).toInt()),
                       floating};
    }
    for (const char* kind : {"nodes", "floating_nodes"})
        for (const QJsonValue child : node.value(QLatin1String(kind)).toArray())
            Collect(child.toObject(), pid, floating || kind[0] == 'f', found);
}

} // namespace

class TestWaylandShots : public QObject {
    Q_OBJECT
    const WaylandDesktop& desktop_;
    DesktopFixture desk_;
    QString file_;

    // The windows the program under test shows now.
    QList<Shown> Windows() const {
        QList<Shown> found;
        if (desk_.Program())
            Collect(QJsonDocument::fromJson(
                        desktop_.Ask({QStringLiteral("-t"), QStringLiteral("get_tree")}))
                        .object(),
                    desk_.Program()->processId(), false, found);
        return found;
    }
    // Waits for one shown window that pleases; it, or an empty one.
    Shown WaitWindow(const std::function<bool(const Shown&)>& pleases) const {
        Shown seen;
        const bool came = QTest::qWaitFor(
            [&] {
                for (const Shown& w : Windows())
                    if (pleases(w)) seen = w;
                return !seen.title.isNull();
            },
            kWaitMs);
        return came ? seen : Shown{};
    }
    // A screenshot of the whole desktop, named after what it shows.
    void Shoot(const QString& name) const {
        const QString folder = qEnvironmentVariable("QVS_SHOTS", QDir::currentPath());
        QVERIFY(QDir().mkpath(folder));
        const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
        QFile::remove(path);
        QTest::qWait(500); // the last frame drawn
        QVERIFY(desktop_.Run(QStringLiteral("grim"), {path}));
        QVERIFY(QFileInfo(path).size() > 0);
        qInfo("screenshot: %s", qPrintable(path));
    }
    void Start(const QString& language, int startup) {
        desk_.WriteSettings("QVS",
                            QStringLiteral("[General]\nSettingsVersion=1.0\nLanguage=%1\n"
                                           "StartupType=%2\nViewSplash=false\n"
                                           "ViewTips=false\nSysTrayShow=1\nRemindDue=false\n")
                                .arg(language)
                                .arg(startup)
                                .toUtf8()
                                .constData());
        desk_.Start("QVS_BINARY", {file_});
        QVERIFY(desk_.Logged(QStringLiteral("ready ") + file_));
        QString code = language;
        QVERIFY(qvs::LoadLanguage(code));
    }

public:
    explicit TestWaylandShots(const WaylandDesktop& desktop) : desktop_(desktop) {}

private slots:
    void initTestCase() {
        if (desktop_.SkipOrFail()) return;
        desk_.SetUp(desktop_);
        file_ = desk_.Path("Shots.QVS");
        WriteDataFile(file_);
    }
    void cleanupTestCase() { desk_.TearDown(); }
    void cleanup() { desk_.Stop(); }

    void theMainWindow_data() {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << QStringLiteral("ENG");
        QTest::newRow("Italian") << QStringLiteral("ITA");
    }
    void theMainWindow() {
        QFETCH(QString, language);
        Start(language, 0);
        const Shown window = WaitWindow([](const Shown& w) {
            return w.title.endsWith(QLatin1String("Shots.QVS")) && !w.floating;
        });
        QVERIFY2(!window.title.isNull(), "the main window was not mapped");
        QVERIFY(window.rect.width() > 600 && window.rect.height() > 400);
        Shoot(QStringLiteral("qvs-main-") + language);
    }

    void theTrayMenu_data() { theMainWindow_data(); }
    void theTrayMenu() {
        QFETCH(QString, language);
        Start(language, 2); // in the tray
        const QString icon = wayland_tray::WaitForOneItem();
        QVERIFY2(!icon.isEmpty(), "no icon in the bar's tray");
        QVERIFY(Windows().isEmpty());
        wayland_tray::Click(icon, "ContextMenu");
        QVERIFY(desk_.Logged(QStringLiteral("menu-shown ")));
        const Shown menu = WaitWindow([](const Shown& w) { return w.floating; });
        QVERIFY2(!menu.title.isNull(), "the menu did not float");
        // The size it needs, well inside the screen.
        QVERIFY2(menu.rect.width() < 500 && menu.rect.height() < 600,
                 qPrintable(
                     QStringLiteral("menu %1x%2").arg(menu.rect.width()).arg(menu.rect.height())));
        const QStringList shown =
            desk_.LogLines().filter(QStringLiteral("menu-shown ")).last().mid(11).split(u'|');
        for (const QString& caption : {QStringLiteral("Mail"), QStringLiteral("Banks"),
                                       qvs::GetLocalText(75), qvs::GetLocalText(83)})
            QVERIFY2(shown.contains(caption),
                     qPrintable(caption + QStringLiteral(" not in ") + shown.join(u'|')));
        Shoot(QStringLiteral("qvs-tray-menu-") + language);
    }
};

int main(int argc, char* argv[]) {
    // Before the application: this process talks to the bar's tray.
    const WaylandDesktop desktop(WaylandDesktop::Tray::InBar);
    QApplication app(argc, argv);
    TestWaylandShots test(desktop);
    return QTest::qExec(&test, argc, argv);
}

#include "tst_wayland_shots.moc"
