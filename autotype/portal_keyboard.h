// Typing through the desktop portal's RemoteDesktop interface, the way into
// other programs' windows on GNOME and KDE Plasma under Wayland. The desktop
// asks the user once whether we may use the keyboard; its answer comes back
// as a restore token, kept in the settings, so later typing asks nothing.
// Each typing opens a session, sends key symbols and closes the session at
// once, so the desktop's "remote control" indicator does not stay on.
#pragma once

#include "autotype/x11_typing.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <cstdint>
#include <vector>

class QDBusPendingCallWatcher;

namespace qvs {

namespace portal {

enum class TypeResult {
    Typed,
    Refused,  // the user said no to the desktop's question, or left the keyboard out
    NoPortal, // no portal on the session bus, or none with a RemoteDesktop interface
    TooOld,   // RemoteDesktop older than version 2, or offering no keyboard
    // The portal failed before the first key, so nothing was typed; the log
    // has its own words.
    NoAnswer,       // an error (or silence) where it should tell what it offers
    NoSession,      // it could not open or start the keyboard's session
    FirstKeyFailed, // the session opened, but the first key was refused
    Failed,         // the portal failed once typing had begun; see the log
};

// The settings group and key of the restore token (the file is made 0600).
inline constexpr char kTokenGroup[] = "Wayland";
inline constexpr char kTokenKey[] = "PortalRestoreToken";

// The key symbols that type the strokes, in order: one per character (Latin-1
// as itself, the rest as Unicode key symbols), Tab and Return for the keys.
// Key symbols rather than key codes: the desktop finds the key and its
// modifiers in the user's layout, so Caps Lock and the layout do not change
// what arrives.
std::vector<std::uint32_t> KeysymsOf(const std::vector<x11::Stroke>& strokes);

// Types strokes into the window that has the keyboard focus. Asynchronous:
// Type() returns at once and Finished() follows when the portal has answered
// (the desktop's question may take the user a while). Nothing is typed unless
// the portal is recent enough and the user agreed, so no failure leaves a
// login typed half-way.
class Keyboard : public QObject {
    Q_OBJECT

public:
    explicit Keyboard(const QDBusConnection& bus = QDBusConnection::sessionBus(),
                      QObject* parent = nullptr);
    ~Keyboard() override;

    // False (and no Finished) while an earlier typing is still under way.
    bool Type(const std::vector<x11::Stroke>& strokes);
    bool Busy() const { return step_ != Step::Idle; }

signals:
    void Finished(qvs::portal::TypeResult result);

private slots:
    void OnResponse(uint code, const QVariantMap& results);

private:
    enum class Step { Idle, Checking, Creating, Selecting, Starting, Typing };

    void CheckVersion();
    void Request(Step step, const QString& method, const QVariantList& arguments,
                 const QString& token);
    void CreateSession();
    void SelectDevices();
    void StartSession();
    void TypeNext();
    void Finish(TypeResult result);
    void ListenForResponse(const QString& path, bool listen);
    QDBusMessage PortalCall(const QString& method) const;

    QDBusConnection bus_;
    Step step_ = Step::Idle;
    std::vector<std::uint32_t> keysyms_;
    std::size_t sent_ = 0; // key events sent: two per key symbol
    QString requestPath_;  // the request whose Response we wait for
    QString sessionPath_;  // the session while one is open
    std::uint64_t tokenNumber_ = 0;
};

} // namespace portal

// Tells the user why nothing was typed; nothing for Typed.
void ReportTypingResult(portal::TypeResult result);
// The text of a result, 0 for Typed.
int TypingResultTextId(portal::TypeResult result);

} // namespace qvs
