// qvs-cli merge: brings another version of a data file (a sync tool's
// conflicted copy, another machine's file) into FILE, and says what came
// from where. Passwords are never printed.
#include "cli/commands.h"
#include "cli/file_stamp.h"
#include "cli/password_prompt.h"

#include "store/legacy/legacy_file.h"
#include "store/pw.h"

#include <iostream>

namespace qvs {

namespace {

using ardeko::clsPW;

// Another file is tried with FILE's password first; another one is asked
// for (the next line of standard input) only when that one is wrong.
// A damaged file is refused: its missing records would count as deleted.
std::optional<int> OpenWith(const Options& options, const std::string& path,
                            const std::string& password, clsPW& store) {
    if (!store.LoadFile(path, password)) {
        if (store.ErrNum() != ardeko::StoreError::BadFile || !store.FileExist(path))
            return LoadFailure(store, path);
        std::cerr << "qvs-cli: " << path << " has another password.\n";
        std::string own, error;
        if (!ReadPassword({options.passwordStdin, false}, own, error))
            return Fail(error, kExitUsage);
        if (!store.LoadFile(path, own)) return LoadFailure(store, path);
    }
    if (store.ErrNum() == ardeko::StoreError::DamagedFile)
        return Fail(store.ErrDescr() + " Not merged: its missing records would count as deleted.");
    return std::nullopt;
}

// A base given here is the version both started from, by the user's word:
// an entry it has and a version lacks was deleted there, even without a
// deletion mark (one deleted before it had an identifier).
class GivenBaseIdentity : public ardeko::MergeIdentity {
public:
    std::string EntryKey(const clsPW&, const ardeko::T_Password& entry) const override {
        return entry.Id;
    }
    std::optional<ardeko::VbDate> DeletedAt(const clsPW& store,
                                            const std::string& key) const override {
        return store.DeletedAt(key);
    }
};

// By identifier where every version has them; else by name (nullptr: the
// store chooses).
const ardeko::MergeIdentity* IdentityFor(const clsPW* base, const clsPW& mine,
                                         const clsPW& theirs) {
    static const GivenBaseIdentity given;
    const bool identified = base && base->AllEntriesIdentified() && mine.AllEntriesIdentified() &&
                            theirs.AllEntriesIdentified();
    return identified ? &given : nullptr;
}

void PrintNames(const char* what, const std::vector<std::string>& names) {
    for (const std::string& n : names)
        std::cout << "  " << what << ": " << n << '\n';
}

void PrintSide(const std::string& from, const ardeko::MergeSide& side) {
    std::cout << "From " << from << ": " << side.added.size() << " added, " << side.changed.size()
              << " changed, " << side.deleted.size() << " deleted\n";
    PrintNames("added", side.added);
    PrintNames("changed", side.changed);
    PrintNames("deleted", side.deleted);
}

void PrintSummary(const Options& options, const ardeko::MergeSummary& s) {
    PrintSide(options.other, s.theirs);
    PrintSide(options.file, s.mine);
    PrintNames("changed on both sides, both changes kept", s.combined);
    PrintNames("changed on one side, deleted on the other, kept", s.keptChanged);
    const char* conflict = s.threeWay ? "conflict" : "different in the two versions";
    for (const ardeko::MergeConflict& c : s.conflicts)
        std::cout << "  " << conflict << ": " << c.service
                  << " (the later change); the other version is \"" << c.copy << "\"\n";
    for (const ardeko::MergeConflict& c : s.collisions)
        std::cout << "  name taken by another entry: " << c.service << "; renamed \"" << c.copy
                  << "\"\n";
    for (const ardeko::MergeNames& n : s.renamedPlaces)
        std::cout << "  category renamed on both sides: \"" << n.named << "\" kept, \"" << n.other
                  << "\" dropped\n";
    for (const ardeko::MergeNames& n : s.placeCollisions)
        std::cout << "  category name taken by another category: \"" << n.other << "\"; renamed \""
                  << n.named << "\"\n";
    if (s.byName)
        std::cout
            << "Entries were paired by name (a legacy file took part): a renamed entry "
               "shows as deleted and added. Format 2 pairs renamed entries (qvs-cli convert).\n";
}

} // namespace

int RunMerge(const Options& options) {
    clsPW mine;
    std::string password, error;
    if (!ReadPassword({options.passwordStdin, false}, password, error))
        return Fail(error, kExitUsage);
    if (!mine.LoadFile(options.file, password)) return LoadFailure(mine, options.file);
    if (mine.ErrNum() == ardeko::StoreError::DamagedFile)
        return Fail(mine.ErrDescr() + " Not merged: the merge would save what is missing.");
    WarnAfterLoad(options.file, mine);
    const Stamp read = Stamp::Of(options.file);
    clsPW theirs, base;
    if (auto code = OpenWith(options, options.other, password, theirs)) return *code;
    if (!options.base.empty())
        if (auto code = OpenWith(options, options.base, password, base)) return *code;

    ardeko::MergeSummary summary;
    const clsPW* given = options.base.empty() ? nullptr : &base;
    if (!mine.Merge(given, theirs, summary, IdentityFor(given, mine, theirs)))
        return Fail(mine.ErrDescr(), kExitRefused);
    PrintSummary(options, summary);
    PrintOtherConflictCopies(options);
    if (options.dryRun) {
        std::cout << "Nothing written (--dry-run).\n";
        return kExitOk;
    }
    if (!(Stamp::Of(options.file) == read))
        return Fail(options.file + " changed while it was being merged; nothing written. Run the "
                                   "merge again.");
    if (auto code = ConfirmPassword(options, mine)) return *code;
    if (!mine.SaveFile("", /*backup*/ true)) return FailStore(mine);
    return kExitOk;
}

} // namespace qvs
