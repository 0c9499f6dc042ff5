// Shared pieces of the file command tests: a main window that only counts
// what it was asked, data files written with the store, the program state
// reset between tests, and the windows the commands open.
#pragma once

#include "tests/frame/modal_script.h"
#include "tests/frame/test_language.h"

#include "app/file_password.h"
#include "dialogs/files/frm_file_pw.h"
#include "dialogs/files/frm_load_save.h"
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
TestLanguage* MakeFileCommandLanguage();

// Starts a test from a program with no file, default settings and fake as
// its main window.
void ResetProgram(FakeMainWindow& fake);

// A data file holding one category per name in categories.
QString WriteDataFile(const QTemporaryDir& dir, const QString& name, const std::string& password,
                      std::initializer_list<const char*> categories = {"Banks"},
                      ardeko::FileFormat format = ardeko::FileFormat::Two);

QString MessageText(qvs::frmMessage* m);

bool IsShown(QWidget* w, const char* name);

void Click(QWidget* w, const char* name);

// The message boxes the commands show, told apart by their buttons and icon.
void ExpectError(qvs::frmMessage* m, const QString& text);

void ExpectQuestion(qvs::frmMessage* m, const QString& text);

// Buttons of the Yes/No/Cancel question.
void AnswerYes(qvs::frmMessage* m);
void AnswerNo(qvs::frmMessage* m);
void AnswerCancel(qvs::frmMessage* m);

void TypePassword(qvs::frmFilePW* w, const QString& password);

// Types name into the save dialog and accepts it.
void SaveAs(QFileDialog* dialog, const QString& name);

// Picks the recent file at row on the chooser's Recent page.
void PickRecent(qvs::frmLoadSave* w, int row);

std::string StoreName();
