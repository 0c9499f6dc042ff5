// The options window driven as a user would: every control reaches its
// setting, Apply writes the settings out, and refused input stores nothing.
#include "tests/frame/modal_script.h"

#include "dialogs/options/frm_options.h"
#include "dialogs/options/history_size_box.h"
#include "frame/frm_message.h"
#include "frame/help.h"
#include "frame/language.h"
#include "frame/modal_stack.h"
#include "frame/options.h"
#include "frame/settings_store.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtTest>

using namespace qvs;

namespace {

template <class W> W* Find(QWidget* w, const char* name) {
    W* child = w->findChild<W*>(QString::fromLatin1(name));
    if (!child) qFatal("no control %s", name);
    return child;
}

QString MessageText(QWidget* m) {
    return m->findChild<QLabel*>(QStringLiteral("lblMsg"))->text();
}

// Answers the next message box, remembering its text.
void ExpectMessage(ModalScript& script, QString* text) {
    script.On<frmMessage>([text](frmMessage* m) {
        *text = MessageText(m);
        m->reject();
    });
}

// The settings as the next start reads them back.
Options Reread() {
    LoadOptions();
    return Opt();
}

} // namespace

class TestFrmOptions : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QCoreApplication::setApplicationName(QStringLiteral("QVS"));
        QString code = QStringLiteral("ENG");
        QVERIFY(LoadLanguage(code));
    }
    void init() { Opt() = DefaultOptions(); }
    void cleanup() { QCOMPARE(ModalDepth(), 0); }

    void backupPositions_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<bool>("backupFile");
        QTest::addColumn<bool>("backupHistory");
        QTest::newRow("1 none") << 1 << false << false;
        QTest::newRow("2 copy") << 2 << true << false;
        QTest::newRow("3 history") << 3 << true << true;
    }
    void backupPositions() {
        QFETCH(int, position);
        QFETCH(bool, backupFile);
        QFETCH(bool, backupHistory);
        frmOptions w;
        QCOMPARE(w.cbBackup()->currentIndex(), 2); // both true by default
        w.cbBackup()->setCurrentIndex(position - 1);
        QVERIFY(w.Apply());
        const Options stored = Reread();
        QCOMPARE(stored.BackupFile, backupFile);
        QCOMPARE(stored.BackupHistory, backupHistory);
        frmOptions again;
        QCOMPARE(again.cbBackup()->currentIndex(), position - 1);
    }

    void splashIsAlwaysStoredOn() {
        Opt().ViewSplash = false;
        frmOptions w;
        auto* splash = Find<QCheckBox>(&w, "chkSplash");
        QVERIFY(splash->isChecked());
        splash->setChecked(false);
        QVERIFY(w.Apply());
        QVERIFY(Reread().ViewSplash);
    }

    void historySizeIsClamped() {
        QCOMPARE(ClampHistorySize(QStringLiteral("1")), 2);
        QCOMPARE(ClampHistorySize(QStringLiteral("25")), 20);
        QCOMPARE(ClampHistorySize(QStringLiteral("abc")), 20);
        QCOMPARE(ClampHistorySize(QString()), 20);
        QCOMPARE(ClampHistorySize(QStringLiteral("7")), 7);

        frmOptions w;
        QLineEdit* text = w.txthistory()->findChild<QLineEdit*>();
        text->selectAll();
        QTest::keyClicks(text, QStringLiteral("2x5")); // the letter is refused
        QCOMPARE(text->text(), QStringLiteral("25"));
        QVERIFY(w.Apply());
        QCOMPARE(Reread().HistorySize, 20);
        QCOMPARE(w.txthistory()->value(), 20);
        text->selectAll();
        QTest::keyClicks(text, QStringLiteral("1"));
        w.txthistory()->interpretText(); // leaving the box
        QCOMPARE(w.txthistory()->value(), 2);
    }

    void controlsReachTheirSettings() {
        frmOptions w;
        Find<QCheckBox>(&w, "chkAutoSaveData")->setChecked(true);
        Find<QCheckBox>(&w, "chkTV")->setChecked(false);
        SelectIn(&w, "cbAction", 4);
        SelectIn(&w, "cbSystray2", 7);
        SelectIn(&w, "cbSecurity", 2);
        SelectIn(&w, "cbAfter", -1);
        Find<QLineEdit>(&w, "txtAfter")->setText(QStringLiteral("#"));
        Find<QSpinBox>(&w, "txtLockIdle")->setValue(10);
        Find<QSpinBox>(&w, "txtClipboardClear")->setValue(0);
        Find<QCheckBox>(&w, "chkLockSession")->setChecked(false);
        w.optStart(1)->click();
        QVERIFY(w.Apply());
        const Options o = Reread();
        QVERIFY(o.AutoSaveData);
        QVERIFY(!o.ShowCatSub);
        QCOMPARE(o.DefaultGridAction, 4);
        QCOMPARE(o.SysTrayPWDefault, 7);
        QCOMPARE(o.SecurityLevel, 2);
        QCOMPARE(o.KeyAfterCB, -1);
        QCOMPARE(o.KeyAfter, QStringLiteral("#"));
        QCOMPARE(o.LockIdleMinutes, 10);
        QCOMPARE(o.ClipboardClearSecs, 0);
        QVERIFY(!o.LockOnSessionLock);
        QCOMPARE(o.StartupType, 1);
    }

    // The own-text box takes input only while "-Other-" is chosen.
    void keyBoxFollowsItsChooser() {
        Opt().KeyBeforeCB = -1;
        frmOptions w;
        auto* box = Find<QLineEdit>(&w, "txtbefore");
        QVERIFY(box->isEnabled());
        SelectIn(&w, "cbBefore", 13);
        QVERIFY(!box->isEnabled());
        QVERIFY(!Find<QLineEdit>(&w, "txtAfter")->isEnabled());
    }

    void wizardShowsOnlyWithAutoLoad() {
        frmOptions w;
        auto* load = Find<QCheckBox>(&w, "chkAutoLoadData");
        auto* wizard = Find<QCheckBox>(&w, "chkWizard");
        QVERIFY(!load->isChecked());
        QVERIFY(!wizard->isVisibleTo(&w));
        load->setChecked(true);
        QVERIFY(wizard->isVisibleTo(&w));
    }

    void startWithSystemNeedsAutoLoad() {
        frmOptions w;
        QString text;
        ModalScript script;
        ExpectMessage(script, &text);
        script.Start();
        w.optStart(3)->click();
        QCOMPARE(text, GetLocalText(10020));
        QVERIFY(w.optStart(3)->isChecked()); // the choice stays
        Find<QCheckBox>(&w, "chkAutoLoadData")->setChecked(true);
        w.optStart(2)->click();
        w.optStart(3)->click(); // no message now: the script has no step left
        QVERIFY(script.Done());
    }

    void pagesSetHelpTopics() {
        frmOptions w;
        QCOMPARE(HelpTopic(&w), 45);
        w.SSTab1()->setCurrentIndex(5);
        QCOMPARE(HelpTopic(&w), 50);
        QCOMPARE(w.SSTab1()->tabText(0), GetLocalText(10001));
    }

    void badDayValueIsRefused_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("letters") << QStringLiteral("abc");
        QTest::newRow("too big") << QStringLiteral("32768");
        QTest::newRow("negative") << QStringLiteral("-1");
        QTest::newRow("fraction") << QStringLiteral("1.5");
        QTest::newRow("empty") << QString();
    }
    void badDayValueIsRefused() {
        QFETCH(QString, typed);
        frmOptions w;
        Find<QCheckBox>(&w, "chkAutoSaveData")->setChecked(true);
        w.DayBox(1)->setText(typed);
        QString text;
        ModalScript script;
        ExpectMessage(script, &text);
        script.Start();
        QVERIFY(!w.Apply());
        QVERIFY(text.contains(QStringLiteral("Days to password change")));
        QVERIFY(!Opt().AutoSaveData); // nothing of the window was stored
        QCOMPARE(w.SSTab1()->currentIndex(), 3);
        w.DayBox(1)->setText(QStringLiteral(" 32767 "));
        QVERIFY(w.Apply());
        QCOMPARE(Reread().ChangeDays, 32767);
    }

    void cancelAfterApplyKeepsTheApplied() {
        frmOptions w;
        ModalScript script;
        script.On<frmOptions>([](frmOptions* d) {
            Find<QCheckBox>(d, "chkNotes")->setChecked(true);
            d->cmdApply()->click();
            Find<QCheckBox>(d, "chkTips")->setChecked(false);
            d->cmdCancel()->click();
        });
        script.Start();
        QCOMPARE(w.Run(), int(QDialog::Rejected));
        const Options o = Reread();
        QVERIFY(o.ShowNotes);
        QVERIFY(o.ViewTips);
    }

    void languageIsStoredForTheNextStart() {
        frmOptions w;
        QCOMPARE(w.grdlanguage()->currentItem()->text(1), QStringLiteral("ENG"));
        QString text;
        ModalScript script;
        ExpectMessage(script, &text);
        script.Start();
        w.cmdLanguage()->click(); // the language in use is stored too
        QCOMPARE(text, GetLocalText(10007));
        QCOMPARE(SettingsStore().ReadText(QStringLiteral("Language"), {}), QStringLiteral("ENG"));

        SelectLanguage(w, QStringLiteral("ITA"));
        ExpectMessage(script, &text);
        script.Start();
        w.cmdLanguage()->click();
        QCOMPARE(SettingsStore().ReadText(QStringLiteral("Language"), {}), QStringLiteral("ITA"));
        QCOMPARE(CurrentLanguage(), QStringLiteral("ENG")); // until the next start
    }

    void missingLanguageIsNotStored() {
        frmOptions w;
        auto* row =
            new QTreeWidgetItem(w.grdlanguage(), {QStringLiteral("Gone"), QStringLiteral("XYZ")});
        w.grdlanguage()->setCurrentItem(row);
        QString text;
        ModalScript script;
        ExpectMessage(script, &text);
        script.Start();
        const QString before = SettingsStore().ReadText(QStringLiteral("Language"), {});
        w.cmdLanguage()->click();
        QCOMPARE(text, GetLocalText(31403));
        QCOMPARE(SettingsStore().ReadText(QStringLiteral("Language"), {}), before);
    }

    void sessionLockNoteWhenUnavailable() {
        frmOptions without;
        QVERIFY(!Find<QCheckBox>(&without, "chkLockSession")->isEnabled());
        QVERIFY(without.findChild<QLabel*>(QStringLiteral("lblNoSessionSignal")));
        frmOptions with({true});
        QVERIFY(Find<QCheckBox>(&with, "chkLockSession")->isEnabled());
        QVERIFY(!with.findChild<QLabel*>(QStringLiteral("lblNoSessionSignal")));
    }

private:
    static void SelectIn(QWidget* w, const char* name, int value) {
        auto* box = Find<QComboBox>(w, name);
        const int index = box->findData(value);
        QVERIFY(index >= 0);
        box->setCurrentIndex(index);
    }

    static void SelectLanguage(frmOptions& w, const QString& code) {
        const auto rows = w.grdlanguage()->findItems(code, Qt::MatchExactly, 1);
        QCOMPARE(rows.size(), 1);
        w.grdlanguage()->setCurrentItem(rows.front());
    }
};

QTEST_MAIN(TestFrmOptions)
#include "tst_frm_options.moc"
