#include "store/passwords/password_health.h"

#include "store/passwords/breached_list.h"
#include "store/passwords/password_strength.h"

#include <algorithm>
#include <atomic>
#include <string_view>
#include <system_error>
#include <thread>
#include <tuple>
#include <unordered_map>

namespace ardeko {

namespace {

// The entries sharing one password, in store order.
struct PasswordUse {
    std::vector<const T_Password*> entries;
};

// Distinct non-empty passwords in order of first use, so that groups get
// their numbers in store order.
struct PasswordUses {
    std::unordered_map<std::string_view, std::size_t> index;
    std::vector<std::pair<std::string_view, PasswordUse>> uses;
};

PasswordUses CollectUses(const clsPW& store) {
    PasswordUses u;
    u.index.reserve(store.Password().Count());
    for (const T_Password& p : store.Password()) {
        if (p.pw.empty()) continue; // nothing to guess, share or find
        const auto [it, added] = u.index.try_emplace(p.pw, u.uses.size());
        if (added) u.uses.emplace_back(p.pw, PasswordUse{});
        u.uses[it->second].second.entries.push_back(&p);
    }
    return u;
}

void AddDue(HealthReport& report, const T_Password& p, clsPW::Due due, VbDate date,
            HealthIssue past, HealthIssue near) {
    if (due == clsPW::Due::No) return;
    report.findings.push_back(
        {.service = p.service, .issue = due == clsPW::Due::Past ? past : near, .date = date});
}

void AddDates(const clsPW& store, HealthReport& report) {
    const double today = store.Today();
    for (const T_Password& p : store.Password()) {
        const clsPW::DueStatus due = store.DueOf(p);
        AddDue(report, p, due.expiry, p.Dt_Expire, HealthIssue::Expired, HealthIssue::ExpiresSoon);
        AddDue(report, p, due.change, p.Dt_Change, HealthIssue::ChangeDue, HealthIssue::ChangeSoon);
        if (p.pw.empty()) continue;
        const VbDate set = PasswordSetOn(p, store.Format());
        // No date at all (0) tells nothing about the password's age.
        if (set > 0 && VbDateInRange(set) && today - VbDatePart(set) > kOldPasswordDays) {
            report.findings.push_back(
                {.service = p.service, .issue = HealthIssue::Old, .date = set});
        }
    }
}

// The strength of each distinct password, measured on every core: the
// measure is by far the report's largest cost. The library keeps no state
// between calls.
std::vector<double> MeasureAll(const std::vector<std::pair<std::string_view, PasswordUse>>& uses) {
    std::vector<double> bits(uses.size());
    constexpr std::size_t kBatch = 64;
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t first; (first = next.fetch_add(kBatch)) < uses.size();)
            for (std::size_t i = first; i < std::min(first + kBatch, uses.size()); ++i)
                bits[i] = PasswordEntropyBits(uses[i].first);
    };
    {
        std::vector<std::jthread> helpers;
        const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
        try {
            for (unsigned c = 1; c < cores && c * kBatch < uses.size(); ++c)
                helpers.emplace_back(work);
        } catch (const std::system_error&) {
            // No more threads to be had: those there are do the work.
        }
        work();
    } // every helper has finished here
    return bits;
}

// The findings of one password: its strength, its sharing and the list.
HealthResult AddPassword(std::string_view pw, double bits, const PasswordUse& use,
                         std::size_t& groups, BreachedList* breached, HealthReport& report) {
    std::uint64_t seen = 0;
    if (breached) {
        const auto found = breached->TimesSeen(pw);
        if (!found) return HealthResult::ListUnreadable;
        seen = *found;
    }
    const bool weak = StrengthLevel(bits) < kFairLevel;
    const bool shared = use.entries.size() > 1;
    if (shared) ++groups;
    for (const T_Password* p : use.entries) {
        if (seen > 0)
            report.findings.push_back(
                {.service = p->service, .issue = HealthIssue::Breached, .timesSeen = seen});
        if (weak)
            report.findings.push_back(
                {.service = p->service, .issue = HealthIssue::Weak, .bits = bits});
        if (shared)
            report.findings.push_back({.service = p->service,
                                       .issue = HealthIssue::Reused,
                                       .group = groups,
                                       .sharedBy = use.entries.size()});
    }
    return HealthResult::Done;
}

// Gravest first within each issue; store order breaks ties (the sort is stable).
void Order(std::vector<HealthFinding>& findings) {
    std::stable_sort(findings.begin(), findings.end(),
                     [](const HealthFinding& a, const HealthFinding& b) {
                         // Every key but the issue's own is 0, so one tuple serves all.
                         return std::make_tuple(a.issue, ~a.timesSeen, a.bits, a.group, a.date) <
                                std::make_tuple(b.issue, ~b.timesSeen, b.bits, b.group, b.date);
                     });
}

} // namespace

VbDate PasswordSetOn(const T_Password& p, FileFormat format) {
    if (!p.History.empty()) return p.History.front().replaced;
    return format == FileFormat::Two ? p.Dt_Insert : p.Dt_Modif;
}

HealthResult AnalysePasswords(const clsPW& store, const HealthOptions& options,
                              HealthReport& report) {
    report = HealthReport{};
    report.entries = store.Password().Count();
    report.breachedChecked = options.breached != nullptr;
    const PasswordUses uses = CollectUses(store);
    const std::size_t total = uses.uses.size();
    if (options.progress && !options.progress(0, total)) return HealthResult::Stopped;
    const std::vector<double> bits = MeasureAll(uses.uses);
    std::size_t groups = 0;
    for (std::size_t i = 0; i < total; ++i) {
        // Every 64 passwords: often enough for a bar, rarely enough to cost nothing.
        if (options.progress && i % 64 == 0 && !options.progress(i, total))
            return HealthResult::Stopped;
        const auto& [pw, use] = uses.uses[i];
        const HealthResult r = AddPassword(pw, bits[i], use, groups, options.breached, report);
        if (r != HealthResult::Done) return r;
    }
    if (options.progress && !options.progress(total, total)) return HealthResult::Stopped;
    AddDates(store, report);
    Order(report.findings);
    return HealthResult::Done;
}

} // namespace ardeko
