// QVSLite's tray: the reduced menu, entries that follow the click action,
// "open" starting the QVS beside it (or saying it is missing), the file to
// open at start, and no menu command that writes the data file.
#include "dialogs/entry/frm_show_pw.h"
#include "frame/frm_message.h"
#include "frame/main_window_iface.h"
#include "frame/modal_stack.h"
#include "frame/options.h"
#include "frame/program_state.h"
#include "qvslite/lite_program.h"
#include "qvslite/lite_tray.h"
#include "tests/frame/modal_script.h"
#include "tests/frame/test_language.h"
#include "tests/qvslite/lite_fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDialog>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace qvs;
using namespace lite_test;

// Receives the web and mail addresses the menu opens, in place of a browser.
class UrlSink : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void Open(const QUrl& url) { opened << url; }
};

class TestLiteTray : public QObject {
    Q_OBJECT

    TestLanguage language_{30, 75, 76, 77, 78, 79, 80, 81, 82, 83, 32400};
    QTemporaryDir dir_;
    QString path_;
    UrlSink urls_;
    std::unique_ptr<FileFollower> follower_;
    std::unique_ptr<frmTray> tray_;
    QList<QStringList> launched_;

    void CloseShownEntries() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<frmShowPW*>(w)) w->close();
        QCoreApplication::processEvents();
    }

private slots:
    void initTestCase() {
        for (const char* scheme : {"http", "https", "mailto"})
            QDesktopServices::setUrlHandler(QLatin1String(scheme), &urls_, "Open");
    }

    void init() {
        Opt() = DefaultOptions();
        Opt().SysTrayShow = 0;
        path_ = dir_.filePath(QStringLiteral("Shown.QVS"));
        WriteFile(path_, {"Alpha", "Beta"});
        App().store = std::make_unique<ardeko::clsPW>();
        QVERIFY(App().store->LoadFile(path_.toStdString()));
        App().currentFileName = path_;
        App().currentFilePassword.Clear();
        App().programFolder = dir_.path();
        launched_.clear();
        follower_ = std::make_unique<FileFollower>(nullptr);
        follower_->Follow();
        tray_ = std::make_unique<frmTray>(
            LiteTrayActions(*follower_,
                            [this](const QString& program, const QStringList& arguments) {
                                launched_ << (QStringList{program} + arguments);
                                return true;
                            }),
            false);
        SetCurrentMainWindow(tray_.get());
        tray_->SetMenuEnabled(true); // as loading the icon does, where there is a tray
        tray_->UpdateView(QString());
    }
    void cleanup() {
        CloseShownEntries();
        SetCurrentMainWindow(nullptr);
        tray_.reset();
        follower_.reset();
        QFile::remove(dir_.filePath(QStringLiteral("qvs")));
    }

    void theMenuOffersWhatTheLightProgramDoes() {
        const QStringList keys = Keys(*tray_);
        for (const char* absent : {"add", "addpw", "addcat", "addscat", "forum"})
            QVERIFY2(!keys.contains(QLatin1String(absent)), absent);
        for (const char* present : {"open", "load", "option", "email", "home", "check", "about",
                                    "close", "srvAlpha", "srvBeta"})
            QVERIFY2(keys.contains(QLatin1String(present)), present);
        KeyedMenu& menu = tray_->SysTray().PopupMenuObject();
        const int open = menu.IndexOf(QStringLiteral("open"));
        QVERIFY(menu.IsDefault(open));
        QCOMPARE(keys.mid(open - 1, 3), (QStringList{"open", "option", "load"}));
    }

    int ShownEntries() {
        int shown = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            shown += qobject_cast<frmShowPW*>(w) && w->isVisible();
        return shown;
    }

    // The click action the user chose is carried out, as QVS does; showing
    // the entry is the default, and the choice QVSLite cannot do (editing)
    // shows it too.
    void entriesFollowTheClickAction() {
        QApplication::clipboard()->clear();
        for (int action : {0, 1}) {
            Opt().SysTrayPWDefault = action;
            tray_->OnMenuClick(0, QStringLiteral("srvAlpha"));
            QCOMPARE(ShownEntries(), 1);
            CloseShownEntries();
        }
        QVERIFY(QApplication::clipboard()->text().isEmpty());
        Opt().SysTrayPWDefault = 2; // copy the password
        tray_->OnMenuClick(0, QStringLiteral("srvAlpha"));
        QCOMPARE(ShownEntries(), 0);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("secret-Alpha"));
        QApplication::clipboard()->clear();
    }

    void openStartsTheQvsBesideItOrSaysItIsMissing() {
        ModalScript script;
        QString said;
        script.On<frmMessage>([&said](frmMessage* w) {
            for (QLabel* label : w->findChildren<QLabel*>())
                said += label->text();
            w->reject();
        });
        script.Start();
        tray_->OnMenuClick(0, QStringLiteral("open"));
        QVERIFY(script.Done());
        QVERIFY(said.contains(TestLanguage::Text(32400)));
        QVERIFY(launched_.isEmpty());

        QFile qvs(QvsProgramPath());
        QVERIFY(qvs.open(QIODevice::WriteOnly));
        qvs.write("#!/bin/sh\n");
        qvs.close();
        qvs.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        tray_->SysTray().HandleActivation(QSystemTrayIcon::DoubleClick);
        QCOMPARE(launched_.size(), 1);
        QCOMPARE(launched_.front(), (QStringList{dir_.filePath(QStringLiteral("qvs")), path_}));
    }

    // Every item of the menu, dialogs answered by closing them: the file's
    // bytes and its time stamp stay as they were.
    void noMenuCommandWritesTheDataFile() {
        const DiskState before = DiskState::Of(path_);
        QTimer closer;
        connect(&closer, &QTimer::timeout, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        closer.start(20);
        const QStringList keys = Keys(*tray_);
        for (const QString& key : keys) {
            if (key.isEmpty() || key == QLatin1String("close")) continue;
            tray_->OnMenuClick(0, key);
            CloseShownEntries();
            WaitUntilNoModal();
            QVERIFY2(DiskState::Of(path_) == before, qPrintable(key));
        }
        QCOMPARE(urls_.opened.size(), 3); // email, home, check
    }

    // The file named on the command line, else the last one opened, else
    // the fixed one.
    void theFileToOpenAtStart() {
        Opt().FileName = QStringLiteral("/data/last.QVS");
        Opt().FileToLoad = QStringLiteral("/data/fixed.QVS");
        Opt().LoadLastOpen = true;
        QCOMPARE(LiteStartFile(QStringLiteral("\"/data/named.QVS\"")),
                 QStringLiteral("/data/named.QVS"));
        QCOMPARE(LiteStartFile(QString()), QStringLiteral("/data/last.QVS"));
        Opt().LoadLastOpen = false;
        QCOMPARE(LiteStartFile(QStringLiteral("  ")), QStringLiteral("/data/fixed.QVS"));
    }
};

QTEST_MAIN(TestLiteTray)
#include "tst_lite_tray.moc"
