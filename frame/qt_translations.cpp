#include "frame/qt_translations.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace qvs {

namespace {

std::unique_ptr<QTranslator>& Installed() {
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

} // namespace

bool UseQtTranslations(const QString& locale) {
    QLocale::setDefault(locale.isEmpty() ? QLocale::system() : QLocale(locale));
    if (!QCoreApplication::instance()) return true;
    if (auto& old = Installed()) {
        QCoreApplication::removeTranslator(old.get());
        old.reset();
    }
    if (locale.isEmpty() || locale.startsWith(QLatin1String("en"))) return true;
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    // qtbase_xx holds the widgets' texts; qt_xx is the meta catalogue that
    // pulls in every installed module.
    for (const QString& name : {QStringLiteral("qt_"), QStringLiteral("qtbase_")}) {
        const QString file = folder + u'/' + name + locale + QStringLiteral(".qm");
        if (!QFileInfo::exists(file)) continue;
        auto translator = std::make_unique<QTranslator>();
        if (!translator->load(file)) return false;
        QCoreApplication::installTranslator(translator.get());
        Installed() = std::move(translator);
        return true;
    }
    return true;
}

} // namespace qvs
