// The browsers' per-user native-messaging manifests, which tell a browser
// which program answers the extension that fills logins. Ours names the
// installed qvs-proxy. Another program's manifest of the same name is set
// aside beside ours while our connection is on, and put back when it is
// turned off.
#pragma once

#include <QByteArray>
#include <QString>

#include <span>

namespace qvs {

// The name the extension connects to; the manifest is this name + ".json".
inline constexpr char kNativeHostName[] = "org.keepassxc.keepassxc_browser";

struct NativeBrowser {
    const char* key;    // stored in the options ("firefox", "chromium", ...)
    const char* label;  // the browser's own name, never translated
    bool chromium;      // a Chromium-family browser (extension origins, not IDs)
    const char* folder; // the manifests' folder under the home or config folder
};

std::span<const NativeBrowser> NativeBrowsers();
const NativeBrowser* FindNativeBrowser(const QString& key);

// Where this user's manifest for the browser lives.
QString ManifestPath(const NativeBrowser& browser);
// Where another program's manifest waits while ours is in its place.
QString SetAsidePath(const NativeBrowser& browser);
// The manifest naming proxyPath, as the browser reads it.
QByteArray ManifestText(const NativeBrowser& browser, const QString& proxyPath);
// The installed qvs-proxy, beside the running program.
QString InstalledProxyPath();

enum class ManifestState {
    None,    // no manifest of this name
    Ours,    // ours (it names a qvs-proxy)
    Foreign, // another program's
};
ManifestState CurrentManifest(const NativeBrowser& browser);
// The program a manifest in place starts (its "path"); "" when it names none
// that can be read.
QString ManifestProgram(const NativeBrowser& browser);

struct ManifestChange {
    bool ok = true;
    bool foreignSetAside = false; // another program's manifest now waits beside ours
    bool foreignRestored = false; // and is back in its place
};

// Writes ours (setting another program's aside first).
ManifestChange TurnOn(const NativeBrowser& browser, const QString& proxyPath);
// Removes ours and puts another program's back; a foreign one in place is
// left alone.
ManifestChange TurnOff(const NativeBrowser& browser);

} // namespace qvs
