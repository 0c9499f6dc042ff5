// The browser protocol's view of QVS: the program's one open file and its
// lock, the browser settings, the generator and the one-time codes
// (ProgramHost); and the questions as the program's dialogs, with QVS
// brought forward first (ProgramQuestions).
#pragma once

#include "browser/browser_host.h"

class QWidget;

namespace qvs::browser {

// The settings of browser filling (Options → Browser writes them).
inline constexpr char kUnlockOnRequestKey[] = "Browser/UnlockOnRequest";
inline constexpr char kNeverExpiredKey[] = "Browser/NeverExpired";

class ProgramHost : public BrowserHost {
public:
    ardeko::clsPW* File() override;
    bool Locked() const override;
    bool Lock() override;
    bool UnlockOnRequest() override;
    bool NeverReturnExpired() const override;
    void Changed(const std::string& service) override;
    std::string GeneratePassword() override;
    std::optional<std::string> CurrentCode(const std::string& stored) override;

private:
    bool asking_ = false; // one password question at a time
};

class ProgramQuestions : public BrowserQuestions {
public:
    std::optional<std::string> NameConnection(const std::vector<std::string>& taken) override;
    SiteAnswer AllowSite(const std::string& host,
                         const std::vector<std::string>& services) override;
    bool ConfirmSave(const std::string& url, const std::string& login,
                     const std::string& service) override;
    void OfferFormat2() override;
};

// Brings the program's window (the main window, or the top dialog) to the
// front: a browser asks, the user answers here.
void ComeForward();

} // namespace qvs::browser
