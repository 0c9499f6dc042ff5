#include "tray/entry_actions.h"

#include "autotype/entry_copies.h"
#include "autotype/login_text.h"
#include "dialogs/entry/frm_show_pw.h"
#include "frame/one_time_code.h"
#include "frame/options.h"
#include "frame/program_state.h"
#include "frame/web_address.h"

namespace qvs {

void AddEntryActions(TrayActions& a) {
    a.showEntry = [](const QString& s) { OpenShowPW(Store(), s, Opt().SecurityLevel); };
    a.copyPassword = [](const QString& s) { CopyPasswordToClipboard(s); };
    a.copyLogin = [](const QString& s) { CopyLoginToClipboard(s); };
    a.copyAccessUrl = [](const QString& s) { CopyAccessUrlToClipboard(s); };
    a.openAccessUrl = [](const QString& s) {
        const QString address = EntryText(ardeko::E_GetPw::URL_Access, s);
        if (!address.isEmpty()) OpenWebAddress(address);
    };
    a.passwordOf = [](const QString& s) { return EntryText(ardeko::E_GetPw::pword, s); };
    a.typedLogin = BuildTypedLogin;
    a.codeOf = CurrentCodeText;
    a.noCode = ShowNoCodeMessage;
}

} // namespace qvs
