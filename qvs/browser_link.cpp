#include "qvs/browser_link.h"

#include "browser/browser_filling.h"
#include "dialogs/options/browser_manifests.h"
#include "dialogs/options/browser_page.h"
#include "frame/options.h"

namespace qvs {

namespace {

// The server needs the protocol from its start, and the protocol needs the
// server to reach every browser: this passes the messages on once both exist.
class ProtocolRequests : public browser::Requests {
public:
    void Handle(browser::ConnectionId connection, const QByteArray& json, Answer answer) override {
        protocol->Handle(connection, json, std::move(answer));
    }
    void Closed(browser::ConnectionId connection) override { protocol->Closed(connection); }

    browser::Requests* protocol = nullptr;
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

BrowserLink::BrowserLink() : requests_(std::make_unique<ProtocolRequests>()), server_(*requests_) {
    static_cast<ProtocolRequests&>(*requests_).protocol = &browser::ConnectBrowserSocket(&server_);
    SetBrowserConnectionObserver([this] { FollowOptions(); });
    RefreshOurManifests();
    FollowOptions();
}

BrowserLink::~BrowserLink() {
    SetBrowserConnectionObserver({});
    browser::ConnectBrowserSocket(nullptr); // the server goes with this
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
