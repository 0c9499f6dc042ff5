// Shared pieces of the file command tests: a main window that only counts
// what it was asked, data files written with the store, the program state
// reset between tests, and the windows the commands open.
#pragma once

#include "tests/frame/modal_script.h"
#include "tests/frame/test_language.h"

#include "app/file_password.h"
#include "dialogs/frm_file_pw.h"
#include "dialogs/frm_load_save.h"
#include "frame/frm_message.h"
#include "frame/main_window_iface.h"
#include "frame/options.h"
#include "frame/program_state.h"
#include "store/pw.h"

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

class FakeMainWindow : public qvs::IMainWindow {
public:
    QWidget* MainWidget() override { return nullptr; }
    void UpdateView(const QString&) override { ++updates; }
    void ReloadMenu() override { ++menuReloads; }
    int updates = 0;
    int menuReloads = 0;
};

// Every id the commands and the windows they open ask for.
inline TestLanguage* MakeFileCommandLanguage() {
    return new TestLanguage({10,   11,   13,   14,    7000,  7001,  7002,  7003,
                             7004, 7005, 8000, 8001,  8002,  8003,  8004,  8007,
                             8008, 8009, 9001, 30002, 30003, 30004, 30005, 30006});
}

// Starts a test from a program with no file, default settings and fake as
// its main window.
inline void ResetProgram(FakeMainWindow& fake) {
    qvs::ProgramState& app = qvs::App();
    app.store = std::make_unique<ardeko::clsPW>();
    app.currentFileName.clear();
    app.currentFilePassword.clear();
    app.loadTime = QDateTime();
    app.inTrayMode = false;
    qvs::Opt() = qvs::DefaultOptions();
    qvs::Opt().AutoCheck = false;
    qvs::Opt().BackupHistory = false;
    // Its own tests turn it on; elsewhere it would ask at every first save.
    qvs::SetFilePasswordOffer(false);
    fake = FakeMainWindow();
    qvs::SetCurrentMainWindow(&fake);
}

// A data file holding one category per name in categories.
inline QString WriteDataFile(const QTemporaryDir& dir, const QString& name,
                             const std::string& password,
                             std::initializer_list<const char*> categories = {"Banks"},
                             ardeko::FileFormat format = ardeko::FileFormat::Two) {
    ardeko::clsPW store;
    store.NewFile();
    store.SetFormat(format);
    for (const char* category : categories)
        store.CatAdd(category);
    store.SetFilePW(password);
    const QString path = dir.filePath(name);
    if (!store.SaveFile(path.toStdString(), false, false)) qFatal("cannot write a test data file");
    return path;
}

inline QString MessageText(qvs::frmMessage* m) {
    return m->findChild<QLabel*>(QStringLiteral("lblMsg"))->text();
}

inline bool IsShown(QWidget* w, const char* name) {
    return w->findChild<QWidget*>(QString::fromLatin1(name))->isVisibleTo(w);
}

inline void Click(QWidget* w, const char* name) {
    w->findChild<QPushButton*>(QString::fromLatin1(name))->click();
}

// The message boxes the commands show, told apart by their buttons and icon.
inline void ExpectError(qvs::frmMessage* m, const QString& text) {
    QCOMPARE(m->windowTitle(), QStringLiteral("QVS"));
    QCOMPARE(MessageText(m), text);
    QVERIFY(IsShown(m, "Pict"));
    QVERIFY(!IsShown(m, "cmdNo"));
}

inline void ExpectQuestion(qvs::frmMessage* m, const QString& text) {
    QCOMPARE(m->windowTitle(), QStringLiteral("QVS"));
    QCOMPARE(MessageText(m), text);
    QVERIFY(IsShown(m, "Pict") && IsShown(m, "cmdNo") && IsShown(m, "cmdCancel"));
}

// Buttons of the Yes/No/Cancel question.
inline void AnswerYes(qvs::frmMessage* m) {
    Click(m, "cmdOK");
}
inline void AnswerNo(qvs::frmMessage* m) {
    Click(m, "cmdNo");
}
inline void AnswerCancel(qvs::frmMessage* m) {
    Click(m, "cmdCancel");
}

inline void TypePassword(qvs::frmFilePW* w, const QString& password) {
    w->findChild<QLineEdit*>(QStringLiteral("txtPW1"))->setText(password);
    Click(w, "cmdOK");
}

// Types name into the save dialog and accepts it.
inline void SaveAs(QFileDialog* dialog, const QString& name) {
    dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
    QMetaObject::invokeMethod(dialog, "accept"); // what the Save button does
}

// Picks the recent file at row on the chooser's Recent page.
inline void PickRecent(qvs::frmLoadSave* w, int row) {
    auto* tabs = w->findChild<QTabWidget*>(QStringLiteral("tabStrip"));
    tabs->setCurrentWidget(w->findChild<QWidget*>(QStringLiteral("pageRECENT")));
    auto* list = w->findChild<QTreeWidget*>(QStringLiteral("grdRecent"));
    list->setCurrentItem(list->topLevelItem(row));
    Click(w->findChild<QWidget*>(QStringLiteral("pageRECENT")), "cmdOK");
}

inline std::string StoreName() {
    return qvs::Store().Filename();
}
