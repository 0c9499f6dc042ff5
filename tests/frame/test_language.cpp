#include "tests/frame/test_language.h"

#include "frame/language.h"

#include <QFile>

TestLanguage::TestLanguage(std::initializer_list<int> ids) {
    QFile file(dir_.filePath(QStringLiteral("ENG")));
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write the test language table");
    for (int id : ids)
        file.write(QStringLiteral("%1\t%2\n").arg(id).arg(Text(id)).toUtf8());
    file.close();
    qvs::SetLanguageSearchPathsForTesting(QStringList{dir_.path()});
    QString code = QStringLiteral("ENG");
    if (!qvs::LoadLanguage(code)) qFatal("cannot load the test language table");
}

TestLanguage::~TestLanguage() {
    // An empty search list unloads nothing by itself: load nothing.
    qvs::SetLanguageSearchPathsForTesting(QStringList{});
    QString code = QStringLiteral("ENG");
    qvs::LoadLanguage(code);
    qvs::SetLanguageSearchPathsForTesting(std::nullopt);
}
