#include "frame/help.h"

#include "frame/help_viewer.h"
#include "frame/install_paths.h"

#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QRegularExpression>
#include <QShortcut>
#include <QVariant>

namespace qvs {

namespace {

const char* const kTopicProperty = "qvsHelpTopic";

QPointer<HelpViewer>& Viewer() {
    static QPointer<HelpViewer> viewer;
    return viewer;
}

QString ExistingPage(const QString& language, const QString& name) {
    // The code comes from the settings: it names a folder and nothing else.
    static const QRegularExpression code(QStringLiteral("^[A-Za-z0-9_-]{1,16}$"));
    if (!code.match(language).hasMatch()) return QString();
    const QString page = QStringLiteral("/help/%1/%2.html").arg(language, name);
    if (const QString installed = InstalledDataFolder(); !installed.isEmpty())
        if (QFile::exists(installed + page)) return installed + page;
    const QString builtIn = u':' + page;
    return QFile::exists(builtIn) ? builtIn : QString();
}

} // namespace

QString HelpPageFor(int topic, const QString& language) {
    const QString english = QStringLiteral("ENG");
    const QString name = QString::number(topic);
    for (const QString& page : {ExistingPage(language, name), ExistingPage(english, name),
                                ExistingPage(language, QStringLiteral("none"))})
        if (!page.isEmpty()) return page;
    return QStringLiteral(":/help/ENG/none.html");
}

void ShowHelp(int topic, QWidget* parent) {
    QWidget* owner = parent ? parent->window() : nullptr;
    QPointer<HelpViewer>& viewer = Viewer();
    if (!viewer) {
        viewer = new HelpViewer(owner); // deletes itself when closed
        // It may have no owner, or lose it: it must not outlive the program.
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, viewer,
                         [v = viewer.data()] { delete v; });
    }
    viewer->SetOwner(owner);
    viewer->ShowTopic(topic);
}

void SetHelpTopic(QWidget* window, int topic) {
    if (!window) return;
    window->setProperty(kTopicProperty, topic);
    if (window->findChild<QShortcut*>(QStringLiteral("helpKey"), Qt::FindDirectChildrenOnly))
        return;
    auto* key = new QShortcut(QKeySequence::HelpContents, window);
    key->setObjectName(QStringLiteral("helpKey"));
    QObject::connect(key, &QShortcut::activated, window,
                     [window] { ShowHelp(HelpTopic(window), window); });
}

int HelpTopic(const QWidget* window) {
    const QVariant topic = window ? window->property(kTopicProperty) : QVariant();
    return topic.isValid() ? topic.toInt() : -1;
}

} // namespace qvs
