// Numbers of favourites and of entries whose expiry or change date is near or
// past, for the status bars, the tray and the expiry check.
#include "store/collection_query.h"
#include "store/pw.h"

namespace ardeko {

namespace {

// One dated obligation of an entry: expiry or change.
struct DueDate {
    bool T_Password::*inForce;
    VbDate T_Password::*date;
    std::int16_t T_Password::*warnDays;
    bool T_Password::*warnAhead;
};
constexpr DueDate kExpiry{&T_Password::blExpire, &T_Password::Dt_Expire, &T_Password::ggNotExpire,
                          &T_Password::blNotExpire};
constexpr DueDate kChange{&T_Password::blChange, &T_Password::Dt_Change, &T_Password::ggNotChange,
                          &T_Password::blNotChange};

using Due = clsPW::Due;

// A near date counts only for an entry that asks to be warned ahead; a date
// that has come counts always.
Due StateOf(const T_Password& p, DueDate d, double today) {
    const Due due = clsPW::DueState(p.*d.inForce, p.*d.date, p.*d.warnDays, today);
    return due == Due::Near && !(p.*d.warnAhead) ? Due::No : due;
}

std::int32_t CountDue(const PasswordCollection& c, DueDate d, Due wanted, double today) {
    return CountIf(c, [=](const T_Password& p) { return StateOf(p, d, today) == wanted; });
}

} // namespace

clsPW::Due clsPW::DueState(bool inForce, double date, std::int16_t warnDays, double today) {
    if (!inForce) return Due::No;
    if (today >= date) return Due::Past;
    return today + warnDays >= date ? Due::Near : Due::No;
}

clsPW::DueStatus clsPW::DueOn(const T_Password& p, double today) {
    return {StateOf(p, kExpiry, today), StateOf(p, kChange, today)};
}

clsPW::DueStatus clsPW::DueOf(const T_Password& p) const {
    return DueOn(p, Today());
}

std::int32_t clsPW::FavouriteNumber() const {
    return CountIf(password_, [](const T_Password& p) { return p.Favourites; });
}

std::int32_t clsPW::ExpiredNumber() const {
    return CountDue(password_, kExpiry, Due::Past, Today());
}

std::int32_t clsPW::InExpirationNumber() const {
    return CountDue(password_, kExpiry, Due::Near, Today());
}

std::int32_t clsPW::ChangedNumber() const {
    return CountDue(password_, kChange, Due::Past, Today());
}

std::int32_t clsPW::InChangeNumber() const {
    return CountDue(password_, kChange, Due::Near, Today());
}

} // namespace ardeko
