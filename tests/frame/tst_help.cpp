// Help pages: one per topic the windows use, in both languages, with the
// fallbacks, and the one reused viewer.
#include "frame/help.h"
#include "frame/help_viewer.h"

#include <QDialog>
#include <QFile>
#include <QPointer>
#include <QRegularExpression>
#include <QShortcut>
#include <QTextBrowser>
#include <QtTest>

namespace {

// The topics the windows hand to the help: contents, file password, expiry
// check, the three open-dialog pages, category dialogs, entry editor pages,
// options pages.
const QList<int> kTopics{0,  26, 27, 28, 29, 30, 31, 32, 35, 40, 41,
                         42, 43, 44, 45, 46, 47, 48, 49, 50, 51};

QString Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

qvs::HelpViewer* Viewer() {
    const auto viewers = QApplication::allWidgets();
    for (QWidget* w : viewers)
        if (auto* v = qobject_cast<qvs::HelpViewer*>(w)) return v;
    return nullptr;
}

} // namespace

class TestHelp : public QObject {
    Q_OBJECT
private slots:
    void everyTopicHasAPageInEveryLanguage();
    void pagesFallBackToEnglishThenToNone();
    void linksBetweenPagesLeadToPages();
    void oneViewerFollowsTheAskingWindow();
    void helpKeyShowsTheWindowsTopic();
};

void TestHelp::everyTopicHasAPageInEveryLanguage() {
    for (const QString& language : {QStringLiteral("ENG"), QStringLiteral("ITA")}) {
        for (int topic : kTopics) {
            const QString expected = QStringLiteral(":/help/%1/%2.html").arg(language).arg(topic);
            QCOMPARE(qvs::HelpPageFor(topic, language), expected);
            QVERIFY2(Read(expected).contains(QLatin1String("<title>")), qPrintable(expected));
        }
    }
}

void TestHelp::pagesFallBackToEnglishThenToNone() {
    QCOMPARE(qvs::HelpPageFor(26, QStringLiteral("XYZ")), QStringLiteral(":/help/ENG/26.html"));
    QCOMPARE(qvs::HelpPageFor(26, QString()), QStringLiteral(":/help/ENG/26.html"));
    QCOMPARE(qvs::HelpPageFor(999, QStringLiteral("ITA")), QStringLiteral(":/help/ITA/none.html"));
    QCOMPARE(qvs::HelpPageFor(999, QStringLiteral("XYZ")), QStringLiteral(":/help/ENG/none.html"));
    QCOMPARE(qvs::HelpPageFor(-1, QStringLiteral("ENG")), QStringLiteral(":/help/ENG/none.html"));
    // A language code is never a way out of the help folder.
    QCOMPARE(qvs::HelpPageFor(26, QStringLiteral("../ITA")), QStringLiteral(":/help/ENG/26.html"));
}

void TestHelp::linksBetweenPagesLeadToPages() {
    static const QRegularExpression link(QStringLiteral("href=\"([^\"]+)\""));
    for (const QString& language : {QStringLiteral("ENG"), QStringLiteral("ITA")}) {
        QStringList pages;
        for (int topic : kTopics)
            pages << QString::number(topic);
        pages << QStringLiteral("none");
        for (const QString& page : pages) {
            const QString text = Read(QStringLiteral(":/help/%1/%2.html").arg(language, page));
            for (const auto& match : link.globalMatch(text)) {
                const QString target =
                    QStringLiteral(":/help/%1/%2").arg(language, match.captured(1));
                QVERIFY2(QFile::exists(target),
                         qPrintable(language + '/' + page + " -> " + target));
            }
        }
    }
}

void TestHelp::oneViewerFollowsTheAskingWindow() {
    QDialog first, second;
    first.show();
    second.show();
    qvs::ShowHelp(26, &first);
    QPointer<qvs::HelpViewer> viewer = Viewer();
    QVERIFY(viewer);
    QCOMPARE(viewer->parentWidget(), &first);
    QVERIFY(viewer->CurrentPage().endsWith(QLatin1String("/ENG/26.html")));
    QVERIFY(viewer->windowTitle().contains(QLatin1String("File password")));

    qvs::ShowHelp(29, &second);
    QCOMPARE(Viewer(), viewer.data());
    QCOMPARE(viewer->parentWidget(), &second);
    QVERIFY(viewer->isVisible());
    QVERIFY(viewer->CurrentPage().endsWith(QLatin1String("/ENG/29.html")));

    // A link to another topic stays in the help.
    auto* browser = viewer->findChild<QTextBrowser*>();
    emit browser->anchorClicked(QUrl(QStringLiteral("30.html")));
    QVERIFY(viewer->CurrentPage().endsWith(QLatin1String("/ENG/30.html")));
    viewer->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!viewer);
}

void TestHelp::helpKeyShowsTheWindowsTopic() {
    QDialog dialog;
    QCOMPARE(qvs::HelpTopic(&dialog), -1);
    qvs::SetHelpTopic(&dialog, 28);
    qvs::SetHelpTopic(&dialog, 30); // a page change: still one key
    QCOMPARE(qvs::HelpTopic(&dialog), 30);
    QCOMPARE(dialog.findChildren<QShortcut*>().size(), 1);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClick(&dialog, Qt::Key_F1);
    QVERIFY(Viewer());
    QVERIFY(Viewer()->CurrentPage().endsWith(QLatin1String("/ENG/30.html")));
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
