// The modal-window stack: who takes input while dialogs are open, the tray
// menu, the refresh on close, and windows that leave out of order.
#include "tests/frame/modal_script.h"

#include "frame/main_window_iface.h"
#include "frame/modal_stack.h"

#include <QDialog>
#include <QPointer>
#include <QtTest>

#include <memory>

namespace {

class FakeMain : public qvs::IMainWindow {
public:
    explicit FakeMain(bool tray) : window_(tray ? nullptr : std::make_unique<QWidget>()) {
        if (window_) window_->show();
    }
    QWidget* MainWidget() override { return window_.get(); }
    void UpdateView(const QString& selection) override { updates << selection; }
    void SetMenuEnabled(bool enabled) override { menuStates << enabled; }

    QStringList updates;
    QList<bool> menuStates;

private:
    std::unique_ptr<QWidget> window_;
};

} // namespace

class TestModalStack : public QObject {
    Q_OBJECT
private slots:
    void init() {
        main_ = std::make_unique<FakeMain>(false);
        qvs::SetCurrentMainWindow(main_.get());
    }
    void cleanup() {
        qvs::SetCurrentMainWindow(nullptr);
        main_.reset();
        QCOMPARE(qvs::ModalDepth(), 0);
    }

    void nestedDialogsDisableWhatIsBelow();
    void dialogsOwnedByTheMainWindowStayUsable();
    void trayMenuIsOffWhileAnyDialogIsOpen();
    void refreshOnlyWhenAsked();
    void windowsLeavingOutOfOrder();
    void deletedWindowFreesTheOneBelow();
    void execModalWaitsAndCleansUp();
    void waitUntilNoModalReturnsWhenTheLastCloses();
    void activatingTheMainWindowBringsTheDialogsForward();
    void aPlainWindowAboveARunningDialogKeepsTheActivation();

private:
    std::unique_ptr<FakeMain> main_;
};

void TestModalStack::activatingTheMainWindowBringsTheDialogsForward() {
    QWidget* mainWidget = main_->MainWidget();
    QDialog a, b;
    qvs::PushModal(&a);
    qvs::PushModal(&b);
    a.show();
    b.show();
    mainWidget->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), &b);
    qvs::PopModal(&b);
    qvs::PopModal(&a);
    // With no dialog open the main window keeps the focus it is given.
    mainWidget->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), mainWidget);
    // Nothing to wait for: a dialog coming back would do so at once.
    QTest::qWait(20);
    QCOMPARE(QApplication::activeWindow(), mainWidget);
}

// The start-up case: the expiry list (a plain window) opens while the tips
// dialog runs its own loop; a click on the main window must not bring the
// tips back over the list. Qt gives such activations to its active modal
// window, so that must be the list.
void TestModalStack::aPlainWindowAboveARunningDialogKeepsTheActivation() {
    QDialog below(qvs::DialogOwner());
    QWidget above;
    bool aboveActive = false;
    QWidget* modalWhileOpen = nullptr;
    ModalScript script;
    script.On<QDialog>([&](QDialog* d) {
        qvs::PushModal(&above);
        above.show();
        modalWhileOpen = QApplication::activeModalWidget();
        main_->MainWidget()->activateWindow();
        aboveActive = QTest::qWaitFor([&] { return QApplication::activeWindow() == &above; });
        above.hide();
        qvs::PopModal(&above);
        d->done(0);
    });
    script.Start();
    qvs::ExecModal(below);
    QVERIFY(script.Done());
    QVERIFY(aboveActive);
    QCOMPARE(modalWhileOpen, &above);
    QCOMPARE(above.windowModality(), Qt::NonModal);
}

void TestModalStack::nestedDialogsDisableWhatIsBelow() {
    QWidget* mainWidget = main_->MainWidget();
    QDialog a, b;
    QCOMPARE(qvs::DialogOwner(), mainWidget);
    qvs::PushModal(&a);
    QVERIFY(!mainWidget->isEnabled());
    QVERIFY(a.isEnabled());
    QCOMPARE(qvs::DialogOwner(), &a);
    qvs::PushModal(&b);
    qvs::PushModal(&b); // already there: nothing changes
    QCOMPARE(qvs::ModalDepth(), 2);
    QVERIFY(!a.isEnabled());
    QVERIFY(b.isEnabled());
    qvs::PopModal(&b);
    QVERIFY(a.isEnabled());
    QVERIFY(!mainWidget->isEnabled());
    qvs::PopModal(&a);
    QVERIFY(mainWidget->isEnabled());
    QCOMPARE(qvs::TopModal(), nullptr);
    QCOMPARE(main_->menuStates, (QList<bool>{false, true}));
}

void TestModalStack::dialogsOwnedByTheMainWindowStayUsable() {
    // Disabling an owner disables the windows it owns; the pushed dialog and
    // one pushed on top of it must still take input.
    QDialog* a = new QDialog(main_->MainWidget());
    QDialog* b = new QDialog(a);
    qvs::PushModal(a);
    QVERIFY(a->isEnabled());
    qvs::PushModal(b);
    QVERIFY(b->isEnabled());
    QVERIFY(!a->isEnabled());
    qvs::PopModal(b);
    QVERIFY(a->isEnabled());
    qvs::PopModal(a);
    QVERIFY(main_->MainWidget()->isEnabled());
}

void TestModalStack::trayMenuIsOffWhileAnyDialogIsOpen() {
    FakeMain tray(true);
    qvs::SetCurrentMainWindow(&tray);
    QDialog a, b;
    QCOMPARE(qvs::DialogOwner(), nullptr);
    qvs::PushModal(&a);
    qvs::PushModal(&b);
    QCOMPARE(tray.menuStates, QList<bool>{false});
    qvs::PopModal(&b);
    QCOMPARE(tray.menuStates, QList<bool>{false});
    qvs::PopModal(&a);
    QCOMPARE(tray.menuStates, (QList<bool>{false, true}));
    qvs::SetCurrentMainWindow(main_.get());
}

void TestModalStack::refreshOnlyWhenAsked() {
    QDialog a;
    qvs::PushModal(&a);
    qvs::PopModal(&a);
    QVERIFY(main_->updates.isEmpty());
    qvs::PushModal(&a);
    qvs::PopModal(&a, true, QStringLiteral("C3"));
    QCOMPARE(main_->updates, QStringList{QStringLiteral("C3")});
    // A window that is not on the stack refreshes nothing.
    qvs::PopModal(&a, true, QStringLiteral("again"));
    QCOMPARE(main_->updates.size(), 1);
}

void TestModalStack::windowsLeavingOutOfOrder() {
    // Two modeless entry windows: the first one is closed first.
    QWidget first, second;
    qvs::PushModal(&first);
    qvs::PushModal(&second);
    qvs::PopModal(&first);
    QCOMPARE(qvs::TopModal(), &second);
    QVERIFY(second.isEnabled());
    QVERIFY(!main_->MainWidget()->isEnabled());
    qvs::PopModal(&second);
    QVERIFY(main_->MainWidget()->isEnabled());
}

void TestModalStack::deletedWindowFreesTheOneBelow() {
    QDialog a;
    auto b = std::make_unique<QDialog>();
    qvs::PushModal(&a);
    qvs::PushModal(b.get());
    b.reset();
    QCOMPARE(qvs::ModalDepth(), 1);
    QVERIFY(a.isEnabled());
    {
        auto c = std::make_unique<QWidget>();
        qvs::ModalStackEntry entry(c.get());
        QVERIFY(!a.isEnabled());
    }
    QVERIFY(a.isEnabled());
    qvs::PopModal(&a);
    QVERIFY(main_->MainWidget()->isEnabled());
}

void TestModalStack::execModalWaitsAndCleansUp() {
    QDialog dialog(qvs::DialogOwner());
    int depthWhileOpen = -1;
    bool mainEnabledWhileOpen = true;
    ModalScript script;
    script.On<QDialog>([&](QDialog* d) {
        depthWhileOpen = qvs::ModalDepth();
        mainEnabledWhileOpen = main_->MainWidget()->isEnabled();
        d->done(42);
    });
    script.Start();
    QCOMPARE(qvs::ExecModal(dialog, true, QStringLiteral("P")), 42);
    QVERIFY(script.Done());
    QCOMPARE(depthWhileOpen, 1);
    QVERIFY(!mainEnabledWhileOpen);
    QCOMPARE(main_->updates, QStringList{QStringLiteral("P")});
    QVERIFY(main_->MainWidget()->isEnabled());
}

void TestModalStack::waitUntilNoModalReturnsWhenTheLastCloses() {
    QWidget window;
    qvs::ModalStackEntry entry(&window);
    window.show();
    QTimer::singleShot(10, &window, [] { qvs::PopModal(qvs::TopModal()); });
    qvs::WaitUntilNoModal();
    QCOMPARE(qvs::ModalDepth(), 0);
    QVERIFY(main_->MainWidget()->isEnabled());
}

QTEST_MAIN(TestModalStack)
#include "tst_modal_stack.moc"
