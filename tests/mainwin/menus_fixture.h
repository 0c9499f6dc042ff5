// Shared pieces of the menu tests: a main window whose menus work on what
// is selected in it, and a store with entries to select.
#pragma once

#include "tests/app/file_commands_fixture.h"

#include "frame/language.h"
#include "mainwin/category_tree.h"
#include "mainwin/entry_grid.h"
#include "mainwin/frm_main.h"
#include "mainwin/main_menus.h"
#include "mainwin/popup_menus.h"

#include <QAbstractItemModelTester>

// The main window with its own menus and pop-ups; tests select nodes and
// rows in its tree and grid as a user does.
struct MenuWindow {
    // Lists this node's entries, as a click on it does.
    void ShowNode(const QString& key) {
        window.UpdateView(QString()); // the tree counts entries added since
        QVERIFY(window.Tree()->SelectNode(key));
    }
    // Selects the row of this service among the shown node's entries.
    void SelectRow(const QString& service) {
        window.UpdateView(service);
        QCOMPARE(window.SelectedService(), service);
    }

    qvs::frmMain window;
    qvs::MainMenus* menus = &window.Menus();
    qvs::PopupMenus* popups = &window.Popups();
    // The grid's model is checked at every change the commands make. (The
    // tree's is Qt's own: QTreeWidget gives the number column's cells the
    // row's children, which the tester rejects.)
    QAbstractItemModelTester gridTester{window.Grid()->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest};
};

inline void LoadEnglish() {
    QString code = QStringLiteral("ENG");
    QVERIFY(qvs::LoadLanguage(code));
}

// An entry filed under category cat (0 = none) and subcategory scat.
inline void AddEntry(const char* service, std::int16_t cat = 0, std::int16_t scat = 0,
                     const char* url = "", const char* expUrl = "", const char* changeUrl = "") {
    ardeko::T_Password p;
    p.service = service;
    p.Codcat = cat;
    p.CodSCat = scat;
    p.URL_Access = url;
    p.URL_Delete = expUrl;
    p.URL_Change = changeUrl;
    QVERIFY(qvs::Store().PWAdd(p));
}

// An entry with a one-time code: 287082 at the code clock's second 59.
inline void AddEntryWithCode(const char* service) {
    ardeko::T_Password p;
    p.service = service;
    p.Totp = "otpauth://totp/Bank?secret=GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ";
    QVERIFY(qvs::Store().PWAdd(p));
}
