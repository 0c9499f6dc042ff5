#include "tray/frm_tray.h"

#include "app/program_start.h"
#include "autotype/secret_clipboard.h"
#include "frame/image_list.h"
#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/modal_stack.h"
#include "frame/options.h"
#include "frame/program_identity.h"
#include "frame/program_state.h"
#include "tray/text_ids.h"

namespace qvs {

namespace {

constexpr char kTrayTip[] = "Quorvane!";

void Call(const std::function<void(const QString&)>& action, const QString& service) {
    if (action) action(service);
}

bool IsTyping(int entryAction) {
    const auto action = static_cast<TrayEntryAction>(entryAction);
    return action == TrayEntryAction::TypePassword || action == TrayEntryAction::TypeLogin ||
           action == TrayEntryAction::TypeCode;
}

} // namespace

frmTray::frmTray(TrayActions actions, bool fullProgram, QObject* parent)
    : QObject(parent), actions_(std::move(actions)), fullProgram_(fullProgram) {
    connect(&sysTray_, &frmSysTray::SysTrayMouseDown, this, [this](int button) {
        if (button == frmSysTray::kRightButton) OnIconClicked(std::nullopt);
        // A middle click locks at once, open dialogs or not: the quickest
        // way to hide the file when leaving the desk.
        if (button == frmSysTray::kMiddleButton && !locked_) RunCommand(TrayCommand::Lock);
    });
    connect(&sysTray_, &frmSysTray::SysTrayDoubleClick, this,
            [this](int) { OnIconClicked(locked_ ? TrayCommand::Unlock : TrayCommand::Open); });
    connect(&sysTray_, &frmSysTray::MessageClicked, this, &frmTray::MessageClicked);
    connect(&sysTray_, &frmSysTray::MenuClick, this, &frmTray::OnMenuClick);
    // Read before the menu takes the focus: the user's window is still active.
    connect(&sysTray_, &frmSysTray::MenuAboutToShow, this,
            [this] { previousWindow_ = actions_.activeWindow ? actions_.activeWindow() : 0; });
    connect(&sysTray_, &frmSysTray::MenuClosed, this, [this] {
        if (!viewStale_) return;
        viewStale_ = false;
        UpdateView(QString());
    });
}

frmTray::~frmTray() {
    if (CurrentMainWindow() == this) SetCurrentMainWindow(nullptr);
}

bool frmTray::Load() {
    if (!frmSysTray::TrayAvailable()) return false;
    sysTray_.SetIconHandle(KeyIcon(QStringLiteral("QVS")));
    sysTray_.Initialise();
    UpdateView(QString());
    menuEnabled_ = true;
    return true;
}

void frmTray::SetLocked(bool locked) {
    if (locked != locked_) LogTestEvent(locked ? "locked" : "unlocked");
    locked_ = locked;
    UpdateView(QString());
}

void frmTray::UpdateView(const QString& selection) {
    (void)selection;
    // A change (a save from the other program) waits until the user's open
    // menu closes rather than tearing it down; a lock does not wait.
    if (!locked_ && sysTray_.MenuShowing()) {
        viewStale_ = true;
        return;
    }
    viewStale_ = false;
    if (locked_) {
        BuildLockedTrayMenu(sysTray_.PopupMenuObject());
        return;
    }
    const TrayMenuOptions options{Opt().SysTrayShow, Opt().SysTrayDef,
                                  !App().store->Filename().empty(), fullProgram_};
    const TypingSupport typing = EntryTypingSupport();
    TrayEntryLook entries;
    entries.enabled = typing != TypingSupport::None;
    if (typing != TypingSupport::Full) entries.toolTip = GetLocalText(TypingSupportTextId(typing));
    std::optional<ImageList> images;
    if (Opt().ViewMenuIcon) images = TrayImageList();
    const QString reopen = actions_.reopenCaption ? actions_.reopenCaption() : QString();
    BuildTrayMenu(sysTray_.PopupMenuObject(), *App().store, options, images, entries, reopen);
    sysTray_.SetToolTip(QLatin1String(kTrayTip));
}

void frmTray::OnMenuClick(int index, const QString& key) {
    (void)index;
    const std::optional<TrayCommand> command = TrayCommandOfKey(key);
    if (locked_ && command != TrayCommand::Unlock && command != TrayCommand::Close) return;
    if (command == TrayCommand::Close) {
        emit CloseRequested();
        return;
    }
    if (command == TrayCommand::Open && !menuEnabled_) return;
    if (command) {
        RunCommand(*command);
        return;
    }
    const QString service = ServiceOfKey(key);
    if (!service.isEmpty()) {
        // A save while the menu was open may have taken the entry away: say
        // so rather than copy or type nothing.
        if (!App().store->Password().Find(service.toStdString())) {
            qvs::ShowMessage(
                GetLocalText(text::kTrayEntryGone).replace(QLatin1String("%s"), service),
                vbExclamation, ProgramName());
            return;
        }
        RunEntryAction(service);
    }
}

// A dialog is open: the click brings it forward, since nothing else may
// happen until it is answered. Otherwise the right button opens the menu and
// a double-click runs command.
void frmTray::OnIconClicked(std::optional<TrayCommand> command) {
    if (ModalDepth() > 0) {
        RaiseModalWindows();
        return;
    }
    if (!command) {
        if (menuEnabled_) sysTray_.ShowMenu();
        return;
    }
    OnMenuClick(0, TrayKey(*command));
}

TypingSupport frmTray::EntryTypingSupport() const {
    if (!IsTyping(Opt().SysTrayPWDefault) || !actions_.typingSupport) return TypingSupport::Full;
    return actions_.typingSupport();
}

void frmTray::RunCommand(TrayCommand command) {
    const auto found = actions_.commands.find(command);
    if (found != actions_.commands.end() && found->second) found->second();
}

void frmTray::RunEntryAction(const QString& service) {
    if (EntryTypingSupport() == TypingSupport::None) return;
    switch (static_cast<TrayEntryAction>(Opt().SysTrayPWDefault)) {
    case TrayEntryAction::ShowEntry:
        Call(actions_.showEntry, service);
        break;
    case TrayEntryAction::EditEntry:
        // QVSLite cannot edit: its window shows the entry instead.
        Call(actions_.editEntry ? actions_.editEntry : actions_.showEntry, service);
        break;
    case TrayEntryAction::CopyPassword:
        Call(actions_.copyPassword, service);
        break;
    case TrayEntryAction::CopyLogin:
        Call(actions_.copyLogin, service);
        break;
    case TrayEntryAction::CopyAccessUrl:
        Call(actions_.copyAccessUrl, service);
        break;
    case TrayEntryAction::OpenAccessUrl:
        Call(actions_.openAccessUrl, service);
        break;
    case TrayEntryAction::TypePassword:
        if (actions_.passwordOf)
            SendKeysToPreviousWindow({{KeyStroke::Kind::Text, actions_.passwordOf(service)}});
        break;
    case TrayEntryAction::TypeLogin:
        if (actions_.typedLogin) SendKeysToPreviousWindow(actions_.typedLogin(service));
        break;
    case TrayEntryAction::CopyCode:
    case TrayEntryAction::TypeCode:
        RunCodeAction(service);
        break;
    }
}

void frmTray::RunCodeAction(const QString& service) {
    const QString code = actions_.codeOf ? actions_.codeOf(service) : QString();
    if (code.isEmpty()) {
        Call(actions_.noCode, service);
        return;
    }
    if (static_cast<TrayEntryAction>(Opt().SysTrayPWDefault) == TrayEntryAction::TypeCode)
        SendKeysToPreviousWindow({{KeyStroke::Kind::Text, code}});
    else
        CopySecretToClipboard(code);
}

bool frmTray::ShowMessage(const QString& title, const QString& text) {
    return sysTray_.ShowMessage(title, text);
}

void frmTray::SendKeysToPreviousWindow(const KeyStrokes& strokes) {
    if (previousWindow_ == 0 || !actions_.type) {
        ReportTypingResult(TypeResult::NoWindow);
        return;
    }
    actions_.type(previousWindow_, strokes, ReportTypingOutcome);
}

} // namespace qvs
