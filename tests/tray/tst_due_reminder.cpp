// Reminders of due passwords: the first check of a day tells of everything
// due, a later one that day only of something newly due; the next day the
// same entries remind again. The text counts, in the singular or plural,
// and never names an entry. The service waits while it cannot remind (a
// dialog open, reminders off) and a click opens the list, or brings an
// open dialog forward instead.
#include "dialogs/frm_check_expire.h"
#include "frame/language.h"
#include "frame/modal_stack.h"
#include "frame/options.h"
#include "frame/program_state.h"
#include "tests/store/store_samples.h"
#include "tray/due_reminder.h"
#include "tray/due_reminder_service.h"

#include <QApplication>
#include <QDialog>
#include <QTest>

using namespace qvs;

namespace {

const QDate kToday(2026, 12, 7);

double StoreDay(const QDate& day) {
    return double(QDate(1899, 12, 30).daysTo(day));
}

// An entry whose expiry (or change) date is offset days from day.
ardeko::T_Password Dated(const std::string& name, int expiresIn, int changeIn = 1000,
                         const QDate& day = kToday) {
    ardeko::T_Password p = SampleEntry(name, 1);
    p.blExpire = true;
    p.Dt_Expire = StoreDay(day.addDays(expiresIn));
    p.ggNotExpire = 5;
    p.blChange = true;
    p.Dt_Change = StoreDay(day.addDays(changeIn));
    return p;
}

// Due by the store's own clock, for the list window, which reads it.
ardeko::T_Password DueNow(const std::string& name) {
    return Dated(name, -1, 1000, QDate::currentDate());
}

struct Clock {
    QDateTime now{kToday, QTime(9, 0)};
    DueReminder::Clock Function() {
        return [this] { return now; };
    }
};

DueEntries Due(QStringList expired, QStringList changeDue = {}, QString file = {}) {
    return {QSet<QString>(expired.begin(), expired.end()),
            QSet<QString>(changeDue.begin(), changeDue.end()), file};
}

// A check whose reminder, if any, was shown.
std::optional<DueCounts> Remind(DueReminder& reminder, const DueEntries& due) {
    const auto counts = reminder.Check(due);
    if (counts) reminder.Acknowledge(due);
    return counts;
}

} // namespace

class TestDueReminder : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QString code = QStringLiteral("ENG");
        QVERIFY(LoadLanguage(code));
    }
    void init() {
        Opt() = DefaultOptions();
        App().store = std::make_unique<ardeko::clsPW>();
    }

    // Past dates count, today included; near ones and dates not in force
    // do not.
    void dueEntriesOfTheStore() {
        ardeko::clsPW store;
        store.InsertCategory({1, "Banks", false});
        store.InsertPassword(Dated("Past", -3));
        store.InsertPassword(Dated("Today", 0));
        store.InsertPassword(Dated("Near", 2));
        store.InsertPassword(Dated("Change", 30, -1));
        ardeko::T_Password off = Dated("Off", -10, -10);
        off.blExpire = off.blChange = false;
        store.InsertPassword(off);
        const DueEntries due = DueEntriesOf(store, kToday);
        QCOMPARE(due.expired, (QSet<QString>{"Past", "Today"}));
        QCOMPARE(due.changeDue, QSet<QString>{"Change"});
        // A day later the near one has not come yet, two days later it has.
        QVERIFY(!DueEntriesOf(store, kToday.addDays(1)).expired.contains("Near"));
        QVERIFY(DueEntriesOf(store, kToday.addDays(2)).expired.contains("Near"));
    }

    void oncePerDayAndForWhatIsNew() {
        Clock clock;
        DueReminder reminder(clock.Function());
        QCOMPARE(Remind(reminder, Due({})), std::nullopt);
        QCOMPARE(Remind(reminder, Due({"A", "B"})), (DueCounts{2, 0}));
        QCOMPARE(Remind(reminder, Due({"A", "B"})), std::nullopt);
        // One renewed: nothing new to tell.
        QCOMPARE(Remind(reminder, Due({"A"})), std::nullopt);
        // Newly due the same day, for a change this time: told with the rest.
        QCOMPARE(Remind(reminder, Due({"A"}, {"A"})), (DueCounts{1, 1}));
        clock.now = clock.now.addSecs(3600 * 14); // 23:00
        QCOMPARE(Remind(reminder, Due({"A"}, {"A"})), std::nullopt);
        clock.now = clock.now.addSecs(3600 * 2); // the next day
        QCOMPARE(Remind(reminder, Due({"A"}, {"A"})), (DueCounts{1, 1}));
        QCOMPARE(Remind(reminder, Due({"A"}, {"A"})), std::nullopt);
    }

    void acknowledgedEntriesDoNotRemindThatDay() {
        Clock clock;
        DueReminder reminder(clock.Function());
        reminder.Acknowledge(Due({"A"}));
        QCOMPARE(Remind(reminder, Due({"A"})), std::nullopt);
        QCOMPARE(Remind(reminder, Due({"A", "B"})), (DueCounts{2, 0}));
        clock.now = clock.now.addDays(1);
        QCOMPARE(Remind(reminder, Due({"A"})), (DueCounts{1, 0}));
    }

    // The same names in another file are other entries; a reminder that
    // could not be shown counts for nothing.
    void remindersArePerFileAndOnlyWhenShown() {
        Clock clock;
        DueReminder reminder(clock.Function());
        QCOMPARE(reminder.Check(Due({"A"}, {}, "/d/one.QVS")), (DueCounts{1, 0}));
        QCOMPARE(reminder.Check(Due({"A"}, {}, "/d/one.QVS")), (DueCounts{1, 0})); // not shown
        QCOMPARE(Remind(reminder, Due({"A"}, {}, "/d/one.QVS")), (DueCounts{1, 0}));
        QCOMPARE(reminder.Check(Due({"A"}, {}, "/d/one.QVS")), std::nullopt);
        QCOMPARE(reminder.Check(Due({"A"}, {}, "/d/two.QVS")), (DueCounts{1, 0}));
    }

    void textCountsWithoutNames() {
        QCOMPARE(DueReminderText({1, 0}),
                 QStringLiteral("1 password has expired.\nClick here to see the list."));
        QCOMPARE(DueReminderText({3, 1}),
                 QStringLiteral("3 passwords have expired.\n1 password is due for a change.\n"
                                "Click here to see the list."));
        QCOMPARE(DueReminderText({0, 2}),
                 QStringLiteral("2 passwords are due for a change.\nClick here to see the list."));
        QVERIFY(!DueReminderTitle().isEmpty());
    }

    // Everything the program shows goes through the service; what it shows
    // holds no user name, password or service name.
    void serviceRemindsWhenItMay() {
        App().store->InsertCategory({1, "Banks", false});
        App().store->InsertPassword(Dated("Secret Bank", -1));
        Clock clock;
        DueReminderService service(clock.Function());
        QStringList shown;
        service.CheckNow(); // no way to show it yet: it waits
        service.SetShow([&shown](const QString& title, const QString& text) {
            shown << title + u'|' + text;
            return true;
        });
        Opt().RemindDue = false;
        service.CheckNow();
        QVERIFY(shown.isEmpty());
        Opt().RemindDue = true;
        {
            QDialog dialog;
            ModalStackEntry open(&dialog);
            service.CheckNow(); // the user is busy with a dialog
            QVERIFY(shown.isEmpty());
        }
        // The entry is due by the clock's day, whatever the store thinks.
        App().store->InsertPassword(Dated("Later Bank", 1));
        clock.now = clock.now.addDays(1);
        service.CheckNow();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown.first().contains(QStringLiteral("2 passwords have expired.")));
        for (const char* secret : {"Secret", "Later", "user of", "pw-"})
            QVERIFY(!shown.first().contains(QLatin1String(secret)));
        service.CheckNow();
        QCOMPARE(shown.size(), 1);

        // Nowhere to show it (no notification service, no tray): it is not
        // taken as told, and comes as soon as it can be shown.
        App().store->InsertPassword(Dated("Third Bank", 0));
        int tries = 0;
        service.SetShow([&tries](const QString&, const QString&) { return ++tries, false; });
        service.CheckNow();
        service.CheckNow();
        QCOMPARE(tries, 2);
        service.SetShow([&shown](const QString& title, const QString& text) {
            shown << title + u'|' + text;
            return true;
        });
        service.CheckNow();
        QCOMPARE(shown.size(), 2);
    }

    // The list open needs no reminder of what it shows.
    void anOpenListCountsAsReminded() {
        App().store->InsertCategory({1, "Banks", false});
        App().store->InsertPassword(DueNow("Bank"));
        DueReminderService service;
        int shown = 0;
        service.SetShow([&shown](const QString&, const QString&) { return ++shown, true; });
        frmCheckExpire* list = View_Expires(false);
        QVERIFY(list);
        service.CheckNow();
        list->close();
        QTRY_COMPARE(ModalDepth(), 0);
        service.CheckNow();
        QCOMPARE(shown, 0);
    }

    void clickOpensTheListOrRaisesTheOpenDialog() {
        App().store->InsertCategory({1, "Banks", false});
        App().store->InsertPassword(DueNow("Bank"));
        DueReminderService service;
        {
            QDialog dialog;
            ModalStackEntry open(&dialog);
            service.OpenList();
            QCOMPARE(ModalDepth(), 1); // nothing opened over the dialog
            QCOMPARE(TopModal(), &dialog);
        }
        service.OpenList();
        auto* list = qobject_cast<frmCheckExpire*>(TopModal());
        QVERIFY(list);
        list->close();
        QTRY_COMPARE(ModalDepth(), 0);
    }
};

QTEST_MAIN(TestDueReminder)
#include "tst_due_reminder.moc"
