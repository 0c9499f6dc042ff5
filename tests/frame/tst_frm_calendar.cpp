// The drop-down calendar: it reports changes made in it (not those made by
// the program), and closing, whichever way it closes.
#include "frame/frm_calendar.h"

#include <QCalendarWidget>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

using qvs::frmCalendar;

class TestFrmCalendar : public QObject {
    Q_OBJECT
private slots:
    void reportsChangesAndClosing() {
        QLineEdit anchor;
        anchor.show();
        frmCalendar picker(&anchor);
        QSignalSpy changes(&picker, &frmCalendar::Change);
        QSignalSpy closes(&picker, &frmCalendar::CloseUp);
        picker.SetValue(QDate(2024, 3, 1));
        QCOMPARE(changes.count(), 0);
        picker.DropDown(&anchor);
        QVERIFY(picker.isVisible());
        QVERIFY(picker.geometry().top() >= anchor.mapToGlobal(QPoint(0, anchor.height())).y() ||
                picker.geometry().bottom() <= anchor.mapToGlobal(QPoint(0, 0)).y());

        QWidget* days = picker.Calendar()->findChild<QTableView*>();
        QTest::keyClick(days, Qt::Key_Right); // moves the chosen day
        QCOMPARE(picker.Value(), QDate(2024, 3, 2));
        QCOMPARE(changes.count(), 1);
        QVERIFY(picker.isVisible());

        emit picker.Calendar()->clicked(QDate(2024, 3, 2)); // a click on a day
        QCOMPARE(changes.count(), 2);
        QVERIFY(!picker.isVisible());
        QCOMPARE(closes.count(), 1);

        picker.DropDown(&anchor);
        QTest::keyClick(days, Qt::Key_Escape);
        QVERIFY(!picker.isVisible());
        QCOMPARE(closes.count(), 2);
        QCOMPARE(picker.Value(), QDate(2024, 3, 2));
    }
};

QTEST_MAIN(TestFrmCalendar)
#include "tst_frm_calendar.moc"
