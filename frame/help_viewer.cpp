#include "frame/help_viewer.h"

#include "frame/help.h"
#include "frame/language.h"

#include <QDesktopServices>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace qvs {

HelpViewer::HelpViewer(QWidget* owner)
    : QWidget(owner, Qt::Window), browser_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("helpViewer"));
    setAttribute(Qt::WA_DeleteOnClose);
    browser_->setObjectName(QStringLiteral("helpBrowser"));
    // Links between pages are topic numbers and must honour the language
    // fallback; links to the web go to the desktop's browser.
    browser_->setOpenLinks(false);
    connect(browser_, &QTextBrowser::anchorClicked, this, &HelpViewer::FollowLink);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(460, 420);
}

void HelpViewer::ShowTopic(int topic) {
    const QString page = HelpPageFor(topic, CurrentLanguage());
    // Built-in pages live in the resources, installed ones on disk.
    browser_->setSource(page.startsWith(u':') ? QUrl(QStringLiteral("qrc") + page)
                                              : QUrl::fromLocalFile(page));
    setWindowTitle(browser_->documentTitle());
    show();
    raise();
    activateWindow();
}

void HelpViewer::SetOwner(QWidget* owner) {
    if (owner == parentWidget()) return;
    const QRect place = geometry();
    const bool wasVisible = isVisible();
    setParent(owner, windowFlags());
    setGeometry(place);
    setVisible(wasVisible);
}

QString HelpViewer::CurrentPage() const {
    return browser_->source().toString();
}

void HelpViewer::FollowLink(const QUrl& link) {
    static const QRegularExpression topicPage(QStringLiteral("^(\\d+)\\.html$"));
    const auto match = topicPage.match(link.fileName());
    if (link.isRelative() && match.hasMatch()) {
        ShowTopic(match.captured(1).toInt());
        return;
    }
    if (link.scheme() == QLatin1String("https") || link.scheme() == QLatin1String("http"))
        QDesktopServices::openUrl(link);
}

} // namespace qvs
