// Adding, replacing, deleting, renaming and re-filing entries, reading single
// fields and marking favourites. An entry's key is its service name.
#include "store/entry_id.h"
#include "store/pw.h"

#include <algorithm>
#include <unordered_set>

namespace ardeko {

void clsPW::SetHistoryLimit(int n) {
    historyLimit_ = std::clamp(n, 0, kMaxHistoryLimit);
}

bool clsPW::PWAdd(const T_Password& pw) {
    T_Password added = pw;
    added.Id = NewEntryId(); // a new entry, even when copied from another
    return Changed(InsertPassword(added));
}

bool clsPW::PWAddAll(std::vector<T_Password> entries) {
    const bool any = !entries.empty();
    std::vector<std::pair<std::string, T_Password>> items;
    items.reserve(entries.size());
    for (T_Password& p : entries) {
        std::string key = p.service;
        p.Id = NewEntryId();
        items.emplace_back(std::move(key), std::move(p));
    }
    std::size_t bad = 0;
    if (const int err = password_.InsertAllByName(std::move(items), bad))
        return Fail(err, "You cannot duplicate Service!");
    notSaved_ = notSaved_ || any;
    return true;
}

bool clsPW::PWDel(const std::string& PWserv) {
    const T_Password* found = password_.Find(PWserv);
    if (!found) return false;
    MarkDeleted(*found);
    return Changed(password_.Remove(PWserv) == 0);
}

bool clsPW::PWEdit(const T_Password& p, const std::string& oldserv, std::int16_t, std::int16_t) {
    const T_Password* found = password_.Find(oldserv);
    if (!found) return false;
    const T_Password old = *found;
    const bool wasNotSaved = notSaved_;
    T_Password edited = p;
    edited.Id = old.Id; // the same entry, whatever the editor handed in
    if (format_ == FileFormat::Two && !old.pw.empty() && old.pw != p.pw && historyLimit_ > 0) {
        edited.History.insert(edited.History.begin(), T_PwHistory{old.pw, Now()});
        if (edited.History.size() > static_cast<std::size_t>(historyLimit_))
            edited.History.resize(static_cast<std::size_t>(historyLimit_));
    }
    password_.Remove(oldserv); // not PWDel: an edit leaves no deletion mark
    if (Changed(InsertPassword(edited))) return true;
    // p's name belongs to another entry: put the old one back as it was.
    InsertPassword(old);
    notSaved_ = wasNotSaved;
    return false;
}

bool clsPW::PWRen(const std::string& oldPW, const std::string& newPW) {
    const T_Password* found = password_.Find(oldPW);
    if (!found) return false;
    T_Password renamed = *found;
    renamed.service = newPW;
    // A change of letter case only is the same key, which an add next to the
    // old entry would refuse as a duplicate: replace the entry instead.
    if (FoldKey(oldPW) == FoldKey(newPW)) return PWEdit(renamed, oldPW);
    if (!Changed(InsertPassword(renamed))) return false;
    password_.Remove(oldPW);
    return true;
}

bool clsPW::PWChangeCat(const std::string& PWserv, std::int16_t NewCat, std::int16_t NewSCat) {
    const T_Password* found = password_.Find(PWserv);
    if (!found) return false;
    T_Password moved = *found;
    if (NewCat != -1) moved.Codcat = NewCat;
    if (NewSCat != -1) moved.CodSCat = NewSCat;
    password_.Remove(PWserv);
    std::string key = moved.service;
    return Changed(password_.Append(std::move(key), std::move(moved)) == 0);
}

std::size_t clsPW::PWChangeCatAll(const std::vector<std::string>& services, std::int16_t NewCat,
                                  std::int16_t NewSCat) {
    std::unordered_set<const T_Password*> wanted;
    for (const std::string& service : services)
        if (const T_Password* p = password_.Find(service)) wanted.insert(p);
    if (wanted.empty()) return 0;
    MoveOrDeleteEntries([&](const T_Password& p) { return wanted.contains(&p); }, true, NewCat,
                        NewSCat);
    Changed(true);
    return wanted.size();
}

std::string clsPW::GetText(E_GetPw tipo, const std::string& strServ) {
    const T_Password* p = password_.Find(strServ);
    if (!p) {
        errDescr_ = "Service not Found!";
        return {};
    }
    switch (tipo) {
    case E_GetPw::User:
        return p->User;
    case E_GetPw::pword:
        return p->pw;
    case E_GetPw::Descr:
        return p->Descr;
    case E_GetPw::URL_Access:
        return p->URL_Access;
    case E_GetPw::URL_Change:
        return p->URL_Change;
    case E_GetPw::URL_Delete:
        return p->URL_Delete;
    case E_GetPw::KeyVal:
        return std::to_string(p->Keyaftbef);
    }
    return {};
}

bool clsPW::SetFavourite(const std::string& S, bool on) {
    const T_Password* found = password_.Find(S);
    if (!found) return false;
    T_Password marked = *found;
    marked.Favourites = on;
    return PWEdit(marked, S);
}

bool clsPW::AddFavourite(const std::string& S) {
    return SetFavourite(S, true);
}

bool clsPW::DelFavourite(const std::string& S) {
    return SetFavourite(S, false);
}

} // namespace ardeko
