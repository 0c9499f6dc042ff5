// The windows a start opens, one at a time: the list of due passwords that
// the first open asks for waits until the tip of the day is closed, rather
// than opening under it where it cannot be closed.
#include "tests/frame/modal_script.h"
#include "tests/frame/test_language.h"

#include "app/expiry_check.h"
#include "dialogs/frm_check_expire.h"
#include "dialogs/frm_tips.h"
#include "frame/modal_stack.h"
#include "frame/program_state.h"
#include "store/vbdate.h"

#include <QDateTime>
#include <QPointer>
#include <QtTest>

using namespace qvs;

namespace {

frmCheckExpire* ShownList() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* list = qobject_cast<frmCheckExpire*>(w); list && list->isVisible()) return list;
    return nullptr;
}

} // namespace

class TestStartWindows : public QObject {
    Q_OBJECT

    TestLanguage language_{10,   11,   5000, 5001, 5002, 5003, 5004, 5005, 5006, 5007,
                           5008, 5009, 5010, 5011, 6000, 6001, 6002, 6003, 6004, 6005};

private slots:
    void theDueListWaitsForTheTipOfTheDay() {
        App().store = std::make_unique<ardeko::clsPW>();
        ardeko::T_Password expired;
        expired.service = "Old bank";
        expired.blExpire = true;
        expired.Dt_Expire = ardeko::VbDateFromParts({2001, 1, 1, 0, 0, 0});
        QVERIFY(Store().PWAdd(expired));

        // As at start: the file is opened before the main window is up.
        App().startingUp = true;
        RunExpiryCheck();
        QTest::qWait(50); // nothing to wait for: a list that must not show yet
        QVERIFY(!ShownList());
        App().startingUp = false; // the main window shows, then the tip
        bool listUnderTip = true;
        ModalScript script;
        script.On<frmTips>([&listUnderTip](frmTips* tips) {
            // Nothing to wait for: the list looks every 200 ms whether it
            // may show; three looks pass while the tip is open.
            QTest::qWait(600);
            listUnderTip = ShownList() != nullptr;
            tips->reject();
        });
        script.Start();
        ShowTips();
        QVERIFY(script.Done());
        QVERIFY(!listUnderTip);
        QTRY_VERIFY(ShownList());
        QPointer<frmCheckExpire> list = ShownList();
        list->close();
        QTRY_VERIFY(!list);
        QCOMPARE(ModalDepth(), 0);
    }
};

QTEST_MAIN(TestStartWindows)
#include "tst_start_windows.moc"
