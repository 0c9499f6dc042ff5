// Shared pieces of the entry editor tests: a store with a fixed clock, a main
// window that records what the editor asks of it, and answering the messages
// a step shows.
#pragma once

#include "tests/frame/modal_script.h"

#include "dialogs/entry/frm_pw.h"
#include "frame/frm_message.h"
#include "frame/language.h"
#include "frame/main_window_iface.h"
#include "frame/modal_stack.h"
#include "frame/options.h"
#include "frame/program_state.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include <vector>

// 1 March 2024, 10:30.
inline constexpr double kNow = 45352.4375;
inline constexpr double kToday = 45352;

struct RecordingMain : qvs::IMainWindow {
    QWidget* MainWidget() override { return &widget; }
    void UpdateView(const QString& selection) override { updates << selection; }
    void CalcNumber(std::int16_t cat, std::int16_t scat) override {
        counted.push_back({cat, scat});
    }
    QWidget widget;
    QStringList updates;
    std::vector<std::pair<int, int>> counted;
};

template <class W = QWidget> W* Child(QWidget* w, const char* name) {
    W* child = w->findChild<W*>(QString::fromLatin1(name));
    if (!child) qFatal("no control %s", name);
    return child;
}

inline QLineEdit* Box(QWidget* w, const char* name) {
    return Child<QLineEdit>(w, name);
}

inline QComboBox* Combo(QWidget* w, const char* name) {
    return Child<QComboBox>(w, name);
}

// Runs action, answering the messages it shows in order: true presses the
// first button (OK, Yes), false the second (Cancel, No) or the only one. Returns their texts.
inline QStringList Answering(std::vector<bool> answers, const std::function<void()>& action) {
    QStringList texts;
    ModalScript script;
    for (bool yes : answers) {
        script.On<qvs::frmMessage>([&texts, yes](qvs::frmMessage* m) {
            texts << Child<QLabel>(m, "lblMsg")->text();
            if (yes) {
                Child<QPushButton>(m, "cmdOK")->click();
                return;
            }
            for (const char* name : {"cmdNo", "cmdCancel", "cmdOK"}) {
                auto* button = Child<QPushButton>(m, name);
                if (!button->isHidden()) return button->click();
            }
        });
    }
    script.Start();
    action();
    if (!script.Done()) texts << QStringLiteral("<a message did not come>");
    return texts;
}

inline QString Text(int id, const QString& s = QString()) {
    return qvs::GetLocalText(id).replace(QLatin1String("%s"), s);
}

inline void Settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// OK, and the window closing after a save.
inline void Confirm(QPointer<qvs::frmPW>& w) {
    Child<QPushButton>(w, "cmdOK")->click();
    Settle();
}

// After each test: no editor left open, none on the window stack.
inline void CloseEditors() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* editor = qobject_cast<qvs::frmPW*>(w)) editor->deleteLater();
    Settle();
    QCOMPARE(qvs::ModalDepth(), 0);
    qvs::SetCurrentMainWindow(nullptr);
}
