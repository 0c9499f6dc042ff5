// Data files as QVS writes them (whole new file renamed over the old one),
// their exact state on disk, and the tray of QVSLite built in-process.
#pragma once

#include "frame/keyed_menu.h"
#include "qvslite/file_follower.h"
#include "store/pw.h"
#include "tray/frm_tray.h"

#include <QFile>
#include <QStringList>

#include <functional>

namespace lite_test {

inline ardeko::T_Password Entry(const std::string& service) {
    ardeko::T_Password p;
    p.service = service;
    p.User = "user";
    p.pw = "secret-" + service;
    return p;
}

inline void WriteFile(const QString& path, std::initializer_list<const char*> services,
                      const std::string& password = {}) {
    ardeko::clsPW store;
    store.NewFile();
    for (const char* s : services)
        store.PWAdd(Entry(s));
    if (!password.empty()) store.SetFilePW(password);
    if (!store.SaveFile(path.toStdString(), false, false)) qFatal("cannot write a data file");
}

// Opens path as QVS does, changes it and saves it.
inline void SaveAsQvs(const QString& path, const std::function<void(ardeko::clsPW&)>& change,
                      const std::string& password = {}) {
    ardeko::clsPW store;
    if (!store.LoadFile(path.toStdString(), password)) qFatal("QVS cannot open the file");
    change(store);
    if (!store.SaveFile()) qFatal("QVS cannot save the file");
}

// The file's bytes and its stamp (time to the nanosecond, size, inode).
struct DiskState {
    QByteArray bytes;
    qvs::FileStamp stamp;
    static DiskState Of(const QString& path) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return {file.readAll(), qvs::FileStamp::Of(path)};
    }
    bool operator==(const DiskState&) const = default;
};

inline QStringList Keys(qvs::frmTray& tray) {
    qvs::KeyedMenu& menu = tray.SysTray().PopupMenuObject();
    QStringList keys;
    for (int i = 1; i <= menu.Count(); ++i)
        keys << menu.Key(i);
    return keys;
}

inline QStringList Services(qvs::frmTray& tray) {
    return Keys(tray).filter(QRegularExpression(QStringLiteral("^srv")));
}

} // namespace lite_test
