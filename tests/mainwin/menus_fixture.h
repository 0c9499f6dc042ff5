// Shared pieces of the menu tests: a main window with the menus built on a
// selection the test sets, and a store with entries to select.
#pragma once

#include "frame/app/file_commands_fixture.h"

#include "frm_main.h"
#include "language.h"
#include "main_menus.h"
#include "popup_menus.h"

#include <memory>

struct MenuWindow {
    MenuWindow() {
        menus = qvs::BuildMainMenus(window,
                                    {[this] { return nodeKey; }, [this] { return service; },
                                     [this] { return window.Tree(); },
                                     [this] { return window.Grid(); }, [this] { ++layoutSaves; }});
        popups = std::make_unique<qvs::PopupMenus>(window, *menus);
        menus->EnableFileCommands(!qvs::Store().Filename().empty()); // as UpdateView does
    }
    QString nodeKey = QStringLiteral("R");
    QString service;
    int layoutSaves = 0;
    qvs::frmMain window;
    qvs::MainMenus* menus = nullptr;
    std::unique_ptr<qvs::PopupMenus> popups;
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
