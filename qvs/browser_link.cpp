#include "qvs/browser_link.h"

#include "dialogs/options/browser_manifests.h"
#include "dialogs/options/browser_page.h"
#include "frame/options.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace qvs {

namespace {

// Answers every action with "no file open" until the protocol's own
// requests take its place, so that the extension shows QVS as reachable
// but with nothing to fill.
class NothingOpenRequests : public browser::Requests {
public:
    void Handle(browser::ConnectionId, const QByteArray& json, Answer answer) override {
        const QString action =
            QJsonDocument::fromJson(json).object().value(QStringLiteral("action")).toString();
        const QJsonObject error{{QStringLiteral("action"), action},
                                {QStringLiteral("errorCode"), QStringLiteral("1")},
                                {QStringLiteral("error"), QStringLiteral("Database not opened")}};
        answer(QJsonDocument(error).toJson(QJsonDocument::Compact));
    }
    void Closed(browser::ConnectionId) override {}
};

// Our manifests name the qvs-proxy beside this QVS, which may have moved
// since they were written; another program's manifest is left as it is.
void RefreshOurManifests() {
    const QStringList on = Opt().BrowserHosts.split(u' ', Qt::SkipEmptyParts);
    for (const QString& key : on) {
        const NativeBrowser* browser = FindNativeBrowser(key);
        if (browser && CurrentManifest(*browser) == ManifestState::Ours)
            TurnOn(*browser, InstalledProxyPath());
    }
}

} // namespace

BrowserLink::BrowserLink()
    : requests_(std::make_unique<NothingOpenRequests>()), server_(*requests_) {
    SetBrowserConnectionObserver([this] { FollowOptions(); });
    RefreshOurManifests();
    FollowOptions();
}

BrowserLink::~BrowserLink() {
    SetBrowserConnectionObserver({});
}

void BrowserLink::FollowOptions() {
    const bool wanted = !Opt().BrowserHosts.trimmed().isEmpty();
    if (wanted == server_.IsListening()) return;
    if (!wanted) {
        server_.Close();
        return;
    }
    if (!server_.Listen()) qWarning("browser: cannot listen for the browsers' host");
}

} // namespace qvs
