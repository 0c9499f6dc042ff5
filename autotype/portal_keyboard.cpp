#include "autotype/portal_keyboard.h"

#include "autotype/text_ids.h"
#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/program_identity.h"
#include "frame/settings_store.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFile>
#include <QTimer>

#include <algorithm>

namespace qvs {

namespace portal {

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kRemoteDesktop = QStringLiteral("org.freedesktop.portal.RemoteDesktop");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");
const QString kSession = QStringLiteral("org.freedesktop.portal.Session");

constexpr std::uint32_t kKeyboardDevice = 1;      // AvailableDeviceTypes / types / devices
constexpr std::uint32_t kPersistUntilRevoked = 2; // persist_mode
constexpr std::uint32_t kMinimumVersion = 2;      // restore tokens came with version 2
constexpr uint kResponseCancelled = 1;            // the user said no

constexpr std::uint32_t kTabKeysym = 0xff09;
constexpr std::uint32_t kReturnKeysym = 0xff0d;
constexpr std::uint32_t kUnicodeKeysyms = 0x01000000;

std::uint32_t KeysymOf(char32_t c) {
    if (c == U'\t') return kTabKeysym;
    if (c == U'\n' || c == U'\r') return kReturnKeysym;
    if ((c >= 0x20 && c <= 0x7e) || (c >= 0xa0 && c <= 0xff)) return c;
    return kUnicodeKeysyms | c;
}

// A portal that is not there, or has no such interface, answers with one of
// these (no session bus at all counts as no portal); anything else is a
// portal that failed.
bool MeansNoPortal(const QDBusError& error) {
    switch (error.type()) {
    case QDBusError::Disconnected:
    case QDBusError::ServiceUnknown:
    case QDBusError::UnknownObject:
    case QDBusError::UnknownInterface:
    case QDBusError::UnknownMethod:
    case QDBusError::UnknownProperty:
    case QDBusError::InvalidArgs:
        return true;
    default:
        return false;
    }
}

void SaveRestoreToken(const QString& token) {
    {
        SettingsStore settings(QString::fromLatin1(kTokenGroup));
        if (token.isEmpty())
            settings.Remove(QString::fromLatin1(kTokenKey));
        else
            settings.WriteText(QString::fromLatin1(kTokenKey), token);
    }
    // The token lets this user's programs type without asking: the settings
    // file is for the user alone (a later save keeps these permissions).
    QFile::setPermissions(SettingsFilePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

QString StoredRestoreToken() {
    return SettingsStore(QString::fromLatin1(kTokenGroup))
        .ReadText(QString::fromLatin1(kTokenKey), QString());
}

QString SessionPathOf(const QVariant& handle) {
    if (handle.canConvert<QDBusObjectPath>()) return qvariant_cast<QDBusObjectPath>(handle).path();
    return handle.toString();
}

} // namespace

std::vector<std::uint32_t> KeysymsOf(const std::vector<x11::Stroke>& strokes) {
    std::vector<std::uint32_t> keysyms;
    for (const x11::Stroke& stroke : strokes) {
        switch (stroke.kind) {
        case x11::Stroke::Kind::Tab:
            keysyms.push_back(kTabKeysym);
            break;
        case x11::Stroke::Kind::Enter:
            keysyms.push_back(kReturnKeysym);
            break;
        case x11::Stroke::Kind::Text:
            for (char32_t c : stroke.text)
                keysyms.push_back(KeysymOf(c));
            break;
        }
    }
    return keysyms;
}

Keyboard::Keyboard(const QDBusConnection& bus, QObject* parent) : QObject(parent), bus_(bus) {}

Keyboard::~Keyboard() {
    if (Busy()) {
        const bool blocked = blockSignals(true);
        Finish(TypeResult::Failed);
        blockSignals(blocked);
    }
}

bool Keyboard::Type(const std::vector<x11::Stroke>& strokes) {
    if (Busy()) return false;
    keysyms_ = KeysymsOf(strokes);
    sent_ = 0;
    if (keysyms_.empty()) { // nothing to ask the desktop for
        QTimer::singleShot(0, this, [this] { emit Finished(TypeResult::Typed); });
        return true;
    }
    CheckVersion();
    return true;
}

QDBusMessage Keyboard::PortalCall(const QString& method) const {
    return QDBusMessage::createMethodCall(kService, kPath, kRemoteDesktop, method);
}

void Keyboard::CheckVersion() {
    step_ = Step::Checking;
    QDBusMessage call = QDBusMessage::createMethodCall(
        kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("GetAll"));
    call << kRemoteDesktop;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        if (step_ != Step::Checking) return;
        const QDBusPendingReply<QVariantMap> reply = *w;
        if (reply.isError()) {
            qWarning("typing through the desktop portal: %s", qPrintable(reply.error().message()));
            Finish(MeansNoPortal(reply.error()) ? TypeResult::NoPortal : TypeResult::NoAnswer);
            return;
        }
        const QVariantMap properties = reply.value();
        if (!properties.contains(QStringLiteral("version"))) {
            Finish(TypeResult::NoPortal);
            return;
        }
        const uint version = properties.value(QStringLiteral("version")).toUInt();
        const uint devices = properties.value(QStringLiteral("AvailableDeviceTypes")).toUInt();
        qInfo("typing through the desktop portal (RemoteDesktop version %u)", version);
        if (version < kMinimumVersion || !(devices & kKeyboardDevice)) {
            Finish(TypeResult::TooOld);
            return;
        }
        CreateSession();
    });
}

// The portal answers each request with a Response signal on an object whose
// path it builds from our bus name and the token we give; we listen there
// before asking, so that an early answer is not missed.
void Keyboard::Request(Step step, const QString& method, const QVariantList& arguments,
                       const QString& token) {
    step_ = step;
    QString sender = bus_.baseService().mid(1);
    sender.replace(u'.', u'_');
    requestPath_ = kPath + QStringLiteral("/request/") + sender + u'/' + token;
    ListenForResponse(requestPath_, true);
    QDBusMessage call = PortalCall(method);
    call.setArguments(arguments);
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, step](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                if (step_ != step) return;
                const QDBusPendingReply<QDBusObjectPath> reply = *w;
                if (reply.isError()) {
                    qWarning("desktop portal: %s", qPrintable(reply.error().message()));
                    Finish(MeansNoPortal(reply.error()) ? TypeResult::NoPortal
                                                        : TypeResult::NoSession);
                    return;
                }
                // Portals before version 0.9 built the path otherwise.
                const QString handle = reply.value().path();
                if (handle == requestPath_ || requestPath_.isEmpty()) return;
                ListenForResponse(requestPath_, false);
                requestPath_ = handle;
                ListenForResponse(requestPath_, true);
            });
}

void Keyboard::ListenForResponse(const QString& path, bool listen) {
    if (listen)
        bus_.connect(kService, path, kRequest, QStringLiteral("Response"), this,
                     SLOT(OnResponse(uint, QVariantMap)));
    else
        bus_.disconnect(kService, path, kRequest, QStringLiteral("Response"), this,
                        SLOT(OnResponse(uint, QVariantMap)));
}

void Keyboard::CreateSession() {
    const QString token = QStringLiteral("qvs%1").arg(++tokenNumber_);
    const QVariantMap options{{QStringLiteral("handle_token"), token},
                              {QStringLiteral("session_handle_token"), token}};
    Request(Step::Creating, QStringLiteral("CreateSession"), {options}, token);
}

void Keyboard::SelectDevices() {
    const QString token = QStringLiteral("qvs%1").arg(++tokenNumber_);
    QVariantMap options{{QStringLiteral("handle_token"), token},
                        {QStringLiteral("types"), kKeyboardDevice},
                        {QStringLiteral("persist_mode"), kPersistUntilRevoked}};
    const QString restore = StoredRestoreToken();
    if (!restore.isEmpty()) options.insert(QStringLiteral("restore_token"), restore);
    Request(Step::Selecting, QStringLiteral("SelectDevices"),
            {QVariant::fromValue(QDBusObjectPath(sessionPath_)), options}, token);
}

void Keyboard::StartSession() {
    const QString token = QStringLiteral("qvs%1").arg(++tokenNumber_);
    const QVariantMap options{{QStringLiteral("handle_token"), token}};
    Request(Step::Starting, QStringLiteral("Start"),
            {QVariant::fromValue(QDBusObjectPath(sessionPath_)), QString(), options}, token);
}

void Keyboard::OnResponse(uint code, const QVariantMap& results) {
    ListenForResponse(requestPath_, false);
    requestPath_.clear();
    if (code != 0) {
        Finish(code == kResponseCancelled ? TypeResult::Refused : TypeResult::NoSession);
        return;
    }
    switch (step_) {
    case Step::Creating:
        sessionPath_ = SessionPathOf(results.value(QStringLiteral("session_handle")));
        if (sessionPath_.isEmpty())
            Finish(TypeResult::NoSession);
        else
            SelectDevices();
        return;
    case Step::Selecting:
        StartSession();
        return;
    case Step::Starting:
        if (!(results.value(QStringLiteral("devices")).toUInt() & kKeyboardDevice)) {
            Finish(TypeResult::Refused);
            return;
        }
        // Each token is good for one session: the next typing needs this one.
        if (results.contains(QStringLiteral("restore_token")))
            SaveRestoreToken(results.value(QStringLiteral("restore_token")).toString());
        step_ = Step::Typing;
        TypeNext();
        return;
    default:
        return;
    }
}

// One key event at a time, each after the portal took the one before: a
// failure then stops typing at a known place and nothing runs ahead.
void Keyboard::TypeNext() {
    if (sent_ == 2 * keysyms_.size()) {
        Finish(TypeResult::Typed);
        return;
    }
    const bool press = sent_ % 2 == 0;
    QDBusMessage call = PortalCall(QStringLiteral("NotifyKeyboardKeysym"));
    call << QVariant::fromValue(QDBusObjectPath(sessionPath_)) << QVariantMap()
         << static_cast<int>(keysyms_[sent_ / 2]) << static_cast<uint>(press ? 1 : 0);
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        if (step_ != Step::Typing) return;
        if (w->isError()) {
            qWarning("desktop portal: typing stopped: %s", qPrintable(w->error().message()));
            // Until the first press went through, nothing reached the window.
            Finish(sent_ == 0 ? TypeResult::FirstKeyFailed : TypeResult::Failed);
            return;
        }
        ++sent_;
        TypeNext();
    });
}

void Keyboard::Finish(TypeResult result) {
    if (!requestPath_.isEmpty()) ListenForResponse(requestPath_, false);
    requestPath_.clear();
    if (!sessionPath_.isEmpty())
        bus_.send(QDBusMessage::createMethodCall(kService, sessionPath_, kSession,
                                                 QStringLiteral("Close")));
    sessionPath_.clear();
    // A refused token is spent: the next typing asks afresh.
    if (result == TypeResult::Refused) SaveRestoreToken(QString());
    std::fill(keysyms_.begin(), keysyms_.end(), 0u);
    keysyms_.clear();
    step_ = Step::Idle;
    emit Finished(result);
}

} // namespace portal

int TypingResultTextId(portal::TypeResult result) {
    switch (result) {
    case portal::TypeResult::Typed:
        return 0;
    case portal::TypeResult::Refused:
        return text::kPortalTypingRefused;
    case portal::TypeResult::NoPortal:
        return text::kNoTypingPortal;
    case portal::TypeResult::TooOld:
        return text::kTypingPortalTooOld;
    case portal::TypeResult::NoAnswer:
        return text::kTypingPortalNoAnswer;
    case portal::TypeResult::NoSession:
        return text::kTypingPortalNoSession;
    case portal::TypeResult::FirstKeyFailed:
        return text::kTypingPortalFirstKeyFailed;
    case portal::TypeResult::Failed:
        return text::kPortalTypingFailed;
    }
    return 0;
}

void ReportTypingResult(portal::TypeResult result) {
    if (const int textId = TypingResultTextId(result))
        ShowMessage(GetLocalText(textId), vbExclamation, ProgramName());
}

} // namespace qvs
