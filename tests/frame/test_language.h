// A language table of known texts ("txt<id>") loaded in place of the real
// ones for the life of the object, so that tests see exactly which text a
// window asked for.
#pragma once

#include "frame/language.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <initializer_list>

class TestLanguage {
public:
    explicit TestLanguage(std::initializer_list<int> ids) {
        QFile file(dir_.filePath(QStringLiteral("ENG")));
        if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write the test language table");
        for (int id : ids)
            file.write(QStringLiteral("%1\t%2\n").arg(id).arg(Text(id)).toUtf8());
        file.close();
        qvs::SetLanguageSearchPathsForTesting(QStringList{dir_.path()});
        QString code = QStringLiteral("ENG");
        if (!qvs::LoadLanguage(code)) qFatal("cannot load the test language table");
    }
    ~TestLanguage() {
        // An empty search list unloads nothing by itself: load nothing.
        qvs::SetLanguageSearchPathsForTesting(QStringList{});
        QString code = QStringLiteral("ENG");
        qvs::LoadLanguage(code);
        qvs::SetLanguageSearchPathsForTesting(std::nullopt);
    }
    TestLanguage(const TestLanguage&) = delete;
    TestLanguage& operator=(const TestLanguage&) = delete;

    static QString Text(int id) { return QStringLiteral("txt%1").arg(id); }

private:
    QTemporaryDir dir_;
};
