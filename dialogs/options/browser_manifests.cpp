#include "dialogs/options/browser_manifests.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>

#include <array>

namespace qvs {

namespace {

constexpr char kProxyName[] = "qvs-proxy";
constexpr char kSetAsideSuffix[] = ".quorvane-set-aside";

constexpr std::array kBrowsers{
    NativeBrowser{"firefox", "Firefox / Firefox ESR", false, ".mozilla/native-messaging-hosts"},
    NativeBrowser{"chromium", "Chromium", true, "chromium/NativeMessagingHosts"},
    NativeBrowser{"chrome", "Google Chrome", true, "google-chrome/NativeMessagingHosts"},
    NativeBrowser{"brave", "Brave", true, "BraveSoftware/Brave-Browser/NativeMessagingHosts"},
    NativeBrowser{"vivaldi", "Vivaldi", true, "vivaldi/NativeMessagingHosts"},
};

// The extension's builds: Firefox's add-on (also Debian's), and the
// Chromium store builds (Debian's carries the same key, hence the same ID).
constexpr char kFirefoxExtension[] = "keepassxc-browser@keepassxc.org";
constexpr std::array kChromiumOrigins{
    "chrome-extension://oboonakemofpalcgghocfoadofidjkkk/",
    "chrome-extension://pdffhmdngciaglkoonimfcmckehcpafo/",
};

// Chromium's family keeps its settings in the config folder; Firefox in
// the home folder itself.
QString BaseFolder(const NativeBrowser& browser) {
    if (!browser.chromium) return QDir::homePath();
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    return QDir::isAbsolutePath(config) ? config : QDir::home().filePath(QStringLiteral(".config"));
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString ProgramIn(const QByteArray& text) {
    return QJsonDocument::fromJson(text).object().value(QStringLiteral("path")).toString();
}

bool WriteWhole(const QString& path, const QByteArray& text) {
    if (!QDir().mkpath(QFileInfo(path).path())) return false;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit();
}

} // namespace

std::span<const NativeBrowser> NativeBrowsers() {
    return kBrowsers;
}

const NativeBrowser* FindNativeBrowser(const QString& key) {
    for (const NativeBrowser& browser : kBrowsers)
        if (key == QLatin1String(browser.key)) return &browser;
    return nullptr;
}

QString ManifestPath(const NativeBrowser& browser) {
    return QDir(BaseFolder(browser))
        .filePath(QLatin1String(browser.folder) + u'/' + QLatin1String(kNativeHostName) +
                  QStringLiteral(".json"));
}

QString SetAsidePath(const NativeBrowser& browser) {
    return ManifestPath(browser) + QLatin1String(kSetAsideSuffix);
}

QByteArray ManifestText(const NativeBrowser& browser, const QString& proxyPath) {
    QJsonObject manifest{
        {QStringLiteral("name"), QLatin1String(kNativeHostName)},
        {QStringLiteral("description"), QStringLiteral("Quorvane: fills logins from QVS")},
        {QStringLiteral("path"), proxyPath},
        {QStringLiteral("type"), QStringLiteral("stdio")},
    };
    QJsonArray allowed;
    if (browser.chromium) {
        for (const char* origin : kChromiumOrigins)
            allowed.append(QLatin1String(origin));
        manifest.insert(QStringLiteral("allowed_origins"), allowed);
    } else {
        allowed.append(QLatin1String(kFirefoxExtension));
        manifest.insert(QStringLiteral("allowed_extensions"), allowed);
    }
    return QJsonDocument(manifest).toJson();
}

QString InstalledProxyPath() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QLatin1String(kProxyName));
}

ManifestState CurrentManifest(const NativeBrowser& browser) {
    const QString path = ManifestPath(browser);
    if (!QFileInfo::exists(path)) return ManifestState::None;
    const bool ours = QFileInfo(ProgramIn(ReadAll(path))).fileName() == QLatin1String(kProxyName);
    return ours ? ManifestState::Ours : ManifestState::Foreign;
}

QString ManifestProgram(const NativeBrowser& browser) {
    return ProgramIn(ReadAll(ManifestPath(browser)));
}

ManifestChange TurnOn(const NativeBrowser& browser, const QString& proxyPath) {
    ManifestChange change;
    const QString path = ManifestPath(browser);
    if (CurrentManifest(browser) == ManifestState::Foreign) {
        // The other program wrote its manifest again: its newer one is kept.
        const QString aside = SetAsidePath(browser);
        if (QFileInfo::exists(aside) && !QFile::remove(aside)) return {false};
        if (!QFile::rename(path, aside)) return {false};
        change.foreignSetAside = true;
    }
    change.ok = WriteWhole(path, ManifestText(browser, proxyPath));
    return change;
}

ManifestChange TurnOff(const NativeBrowser& browser) {
    ManifestChange change;
    const QString path = ManifestPath(browser);
    const ManifestState state = CurrentManifest(browser);
    if (state == ManifestState::Foreign) return change;
    if (state == ManifestState::Ours && !QFile::remove(path)) return {false};
    const QString aside = SetAsidePath(browser);
    if (QFileInfo::exists(aside)) {
        change.ok = QFile::rename(aside, path);
        change.foreignRestored = change.ok;
    }
    return change;
}

} // namespace qvs
