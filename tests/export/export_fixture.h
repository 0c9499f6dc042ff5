// A small store for the export tests: three categories (one empty), three
// subcategories (one empty), four entries, one without category, values
// with a delimiter, a quote, mark-up and a line break.
#pragma once

#include "export/export_choice.h"
#include "store/export/export_format.h"
#include "store/pw.h"

#include <QFile>
#include <QString>

#include <sys/stat.h>

inline ardeko::T_Password ExportEntry(const char* service, std::int16_t cat, std::int16_t sub,
                                      const char* user, const char* pw) {
    ardeko::T_Password p;
    p.service = service;
    p.Codcat = cat;
    p.CodSCat = sub;
    p.User = user;
    p.pw = pw;
    return p;
}

inline void FillExportStore(ardeko::clsPW& s) {
    s.InsertCategory({1, "Banks", false});
    s.InsertCategory({2, "Mail", false});
    s.InsertCategory({3, "Spare", false});
    s.InsertSubCategory({1, 1, "Cards"});
    s.InsertSubCategory({2, 1, "Loans"});
    s.InsertSubCategory({3, 2, "Work"});
    ardeko::T_Password alpha = ExportEntry("Alpha", 1, 1, "ann", "p;w\"1");
    alpha.blExpire = true;
    alpha.Dt_Expire = ardeko::VbDateFromParts({2026, 1, 31, 0, 0, 0});
    alpha.Descr = "line1\nline2";
    s.InsertPassword(alpha);
    s.InsertPassword(ExportEntry("Beta", 2, 3, "bob", "<b>bold</b>"));
    s.InsertPassword(ExportEntry("Delta", 1, 0, "dan", "plain"));
    s.InsertPassword(ExportEntry("Gamma", 0, 0, "gus", "g&g"));
}

inline ardeko::DocumentInfo FixedInfo(const char* formatName) {
    return {"Quorvane 1.2.3", formatName, "Quorvane by Tarnwick", "https://h.example",
            "m@h.example"};
}

// The permission bits of a file; -1 when it cannot be read.
inline int FileMode(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}

inline QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}
