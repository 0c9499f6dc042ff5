#include "tests/frame/modal_script.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>

void ModalScript::Arm() {
    QTimer::singleShot(5, [this, alive = alive_] {
        if (*alive) Tick();
    });
}

void ModalScript::Tick() {
    if (steps_.empty()) return;
    QWidget* w = QApplication::activeModalWidget();
    if (!w || !steps_.front().matches(w)) {
        if (++waited_ > kMaxWaits) qFatal("modal script: the expected window never came");
        Arm();
        return;
    }
    const Step step = steps_.front();
    steps_.pop_front();
    waited_ = 0;
    if (!steps_.empty()) Arm();
    const QPointer<QWidget> window = w;
    step.action(w);
    // A check that failed inside the step returned before the step closed its
    // window: close it, so that the test fails at once rather than hanging
    // until its time-out.
    if (QTest::currentTestFailed() && window && QApplication::activeModalWidget() == window)
        window->close();
}
