#include "frame/word_list.h"

#include "store/passwords/password_generator.h"

#include <QFile>

namespace qvs {

std::vector<std::string> WordList(const QString& language) {
    for (const QString& code : {language.toUpper(), QStringLiteral("ENG")}) {
        QFile file(QStringLiteral(":/words/") + code);
        if (!file.open(QIODevice::ReadOnly)) continue;
        auto words = ardeko::ParseWordList(file.readAll().toStdString());
        if (!words.empty()) return words;
    }
    return {};
}

} // namespace qvs
