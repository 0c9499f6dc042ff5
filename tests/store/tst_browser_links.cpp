// Browser connections and the web sites allowed or denied each entry: kept
// exactly by format 2 (and through a lock), refused rather than dropped by
// the older format, and merged so that a removal or a denial on one machine
// is not undone by the other machine's copy.
#include "store/format2/body.h"
#include "store/pw.h"
#include "tests/store/store_samples.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace ardeko;

namespace {

const std::string kKeyA = "dGhpcyBpcyB0aGUgaWRlbnRpdHkga2V5IG9mIEE0NTY=";
const std::string kKeyB = "YW5vdGhlciBicm93c2VyJ3MgaWRlbnRpdHkga2V5IEI=";

std::string S(const QString& s) {
    return s.toStdString();
}

// A saved and loaded copy of s, in format 2.
clsPW Reloaded(clsPW& s, const QTemporaryDir& dir) {
    const std::string path = S(dir.filePath("f.QVS"));
    s.SetFilePW("pw");
    if (!s.SaveFile(path, false)) qFatal("save: %s", s.ErrDescr().c_str());
    clsPW r;
    if (!r.LoadFile(path, "pw")) qFatal("load: %s", r.ErrDescr().c_str());
    return r;
}

// A store whose clock the test moves.
struct Clocked {
    double now = 46000.5;
    clsPW store;
    Clocked() {
        store.SetClock([this] { return now; });
        FillSample(store);
    }
};

} // namespace

class TestBrowserLinks : public QObject {
    Q_OBJECT

private slots:
    void connectionsKeptThroughSaveLoadAndLock() {
        QTemporaryDir dir;
        Clocked c;
        QVERIFY2(c.store.AddBrowserLink("Firefox at home", kKeyA), c.store.ErrDescr().c_str());
        c.now += 1;
        QVERIFY(c.store.AddBrowserLink("Laptop", kKeyB));
        c.now += 1;
        QVERIFY(c.store.RemoveBrowserLink(kKeyB));
        clsPW r = Reloaded(c.store, dir);
        QCOMPARE(r.BrowserLinks().size(), std::size_t(1));
        const T_BrowserLink* a = r.FindBrowserLink("Firefox at home", kKeyA);
        QVERIFY(a);
        QCOMPARE(a->created, 46000.5);
        QCOMPARE(a->lastUsed, 46000.5);
        QCOMPARE(a->removed, 0.0);
        QVERIFY(!r.FindBrowserLink("Laptop", kKeyB));      // removed stays removed
        QVERIFY(!r.AddBrowserLink("Laptop again", kKeyB)); // and its key never comes back
        QCOMPARE(r.ErrNum(), Code(StoreError::DuplicateKey));

        std::vector<std::string> extras;
        QVERIFY(r.Seal(extras));
        QVERIFY(r.BrowserLinks().empty());
        QVERIFY(r.Unseal("pw", extras));
        QVERIFY(r.FindBrowserLink("Firefox at home", kKeyA));
        QVERIFY(!r.FindBrowserLink("Laptop", kKeyB));
    }

    // The browsers file their connections under the file's identifier: it
    // must survive everything that keeps the file itself (saves, a lock, a
    // merge, a reload), differ between files, and stay out of the legacy
    // format, which cannot hold it.
    void fileIdentifierNamesTheFileForGood() {
        QTemporaryDir dir;
        clsPW s;
        s.NewFile();
        FillSample(s);
        const std::string id = s.FileId();
        QCOMPARE(id.size(), std::size_t(32));
        clsPW other;
        other.NewFile();
        QVERIFY(other.FileId() != id);

        clsPW r = Reloaded(s, dir);
        QCOMPARE(r.FileId(), id);
        QVERIFY(r.SaveFile());
        clsPW again;
        QVERIFY(again.LoadFile(S(dir.filePath("f.QVS")), "pw"));
        QCOMPARE(again.FileId(), id);
        std::vector<std::string> extras;
        QVERIFY(again.Seal(extras));
        QVERIFY(again.Unseal("pw", extras));
        QCOMPARE(again.FileId(), id);

        MergeSummary summary;
        QVERIFY(again.Merge(nullptr, other, summary));
        QCOMPARE(again.FileId(), id); // another version never takes it over

        // Legacy: none, and a conversion makes one that the next save keeps.
        const std::string legacyPath = S(dir.filePath("old.QVS"));
        r.SetFormat(FileFormat::Legacy);
        r.SetFilePW("pw");
        QVERIFY2(r.SaveFile(legacyPath, false), r.ErrDescr().c_str());
        clsPW old;
        QVERIFY(old.LoadFile(legacyPath, "pw"));
        QVERIFY(old.FileId().empty());
        QVERIFY(old.EnsureFileId().empty());
        clsPW filled;
        QVERIFY(filled.LoadFile(legacyPath, "pw"));
        filled.SetFormat(FileFormat::Two);
        QVERIFY(filled.Merge(nullptr, s, summary)); // a gap is filled from the other version
        QCOMPARE(filled.FileId(), id);
        old.SetFormat(FileFormat::Two);
        const std::string made = old.EnsureFileId();
        QCOMPARE(made.size(), std::size_t(32));
        QVERIFY(made != id);
        QVERIFY(old.SaveFile(S(dir.filePath("converted.QVS")), false));
        clsPW converted;
        QVERIFY(converted.LoadFile(S(dir.filePath("converted.QVS")), "pw"));
        QCOMPARE(converted.FileId(), made);
    }

    void connectionsAskedForByNameAndKeyTogether() {
        Clocked c;
        QVERIFY(c.store.AddBrowserLink("Firefox", kKeyA));
        QVERIFY(!c.store.FindBrowserLink("Firefox", kKeyB));
        QVERIFY(!c.store.FindBrowserLink("firefox", kKeyA));
        QVERIFY(!c.store.AddBrowserLink("Firefox", kKeyB));
        QCOMPARE(c.store.ErrNum(), Code(StoreError::DuplicateKey));
        QVERIFY(!c.store.AddBrowserLink("", kKeyB));
        QCOMPARE(c.store.ErrNum(), Code(StoreError::InvalidCall));
        QVERIFY(!c.store.AddBrowserLink("Chromium", ""));
        QVERIFY(!c.store.RemoveBrowserLink(kKeyB));
        // A use is dated, but is no change the user has to save.
        QTemporaryDir dir;
        c.store.SetFilePW("pw");
        QVERIFY(c.store.SaveFile(S(dir.filePath("x.QVS")), false));
        QVERIFY(!c.store.NotSaved());
        c.now += 3;
        c.store.TouchBrowserLink("Firefox", kKeyA);
        QCOMPARE(c.store.FindBrowserLink("Firefox", kKeyA)->lastUsed, 46003.5);
        QVERIFY(!c.store.NotSaved());
    }

    void sitePermissionsKeptThroughSaveAndLoad() {
        QTemporaryDir dir;
        Clocked c;
        clsPW& s = c.store;
        const double modified = s.Password().Find("Bank A")->Dt_Modif;
        QVERIFY(s.SetSitePermission("Bank A", "www.bank.example", true));
        QVERIFY(s.SetSitePermission("Bank A", "Evil.Example", false));
        QVERIFY(s.SetSitePermission("Bank A", "old.bank.example", true));
        QVERIFY(s.SetSitePermission("Bank A", "old.bank.example", std::nullopt)); // forgotten
        QVERIFY(s.SetSitePermission("Bank A", "www.bank.example", false));        // changed mind
        QVERIFY(s.NotSaved());
        QCOMPARE(s.Password().Find("Bank A")->Dt_Modif, modified); // not an edit of the entry
        QVERIFY(!s.SetSitePermission("No such entry", "a.example", true));
        QVERIFY(!s.SetSitePermission("Bank A", "", true));

        clsPW r = Reloaded(s, dir);
        QCOMPARE(r.SitePermission("Bank A", "evil.example"), std::optional<bool>(false));
        QCOMPARE(r.SitePermission("Bank A", "WWW.bank.example"), std::optional<bool>(false));
        QCOMPARE(r.SitePermission("Bank A", "old.bank.example"), std::nullopt);
        QCOMPARE(r.SitePermission("Loose", "evil.example"), std::nullopt);
        const std::vector<T_SitePermission> expected = {{"evil.example", false},
                                                        {"www.bank.example", false}};
        QCOMPARE(r.Password().Find("Bank A")->Sites, expected);
        // An edit of the entry keeps them.
        T_Password edited = *r.Password().Find("Bank A");
        edited.pw = "new";
        QVERIFY(r.PWEdit(edited, "Bank A"));
        QCOMPARE(r.Password().Find("Bank A")->Sites, expected);
    }

    // Tags 70 and 71 in the body, one host each; a listing read leaves them.
    void bodyTags() {
        T_Password p = SampleEntry("Svc");
        p.Sites = {{"a.example", true}, {"b.example", false}};
        auto entries = MakePasswordCollection();
        entries.Append(p.service, p);
        const auto empty = MakeCategoryCollection();
        const auto subs = MakeSubCategoryCollection();
        const auto nodes = MakeNodeCollection();
        const std::vector<T_BrowserLink> links = {{"Fx", kKeyA, 1, 2, 0}};
        const StoreContents contents{empty, subs, entries, nodes, nullptr, &links};
        std::string body(BodySize(contents), '\0');
        WriteBody(contents, body.data());
        QVERIFY(body.find(std::string("\x46\x09\0\0\0a.example", 14)) != std::string::npos);
        QVERIFY(body.find(std::string("\x47\x09\0\0\0b.example", 14)) != std::string::npos);
        DecodedFile full;
        QVERIFY(ReadBody(body, false, full));
        QCOMPARE(full.passwords.at(0).Sites, p.Sites);
        QCOMPARE(full.links, links);
        DecodedFile listing;
        QVERIFY(ReadBody(body, false, listing, EntryTexts::NamesOnly));
        QVERIFY(listing.passwords.at(0).Sites.empty());
        DecodedFile categories;
        QVERIFY(ReadBody(body, true, categories));
        QVERIFY(categories.links.empty());
    }

    void olderFormatRefusesRatherThanDrops() {
        QTemporaryDir dir;
        const std::string path = S(dir.filePath("l.QVS"));
        {
            Clocked c;
            clsPW& s = c.store;
            s.SetFilePW("pw");
            QVERIFY(s.AddBrowserLink("Firefox", kKeyA));
            s.SetFormat(FileFormat::Legacy);
            QVERIFY(!s.SaveFile(path, false));
            QCOMPARE(s.ErrNum(), Code(StoreError::UnstorableText));
            QCOMPARE(s.ErrDescr(),
                     std::string("Browser connections and site permissions cannot be stored in a "
                                 "file of the older format; a file of format 2 can hold them."));
            QVERIFY(!QFile::exists(QString::fromStdString(path)));
            // Nothing new goes into a store that is to be saved so.
            QVERIFY(!s.AddBrowserLink("Other", kKeyB));
            QVERIFY(!s.SetSitePermission("Bank A", "a.example", true));
            QCOMPARE(s.ErrNum(), Code(StoreError::UnstorableText));
            // Once removed, the mark alone does not hold the save back.
            QVERIFY(s.RemoveBrowserLink(kKeyA));
            QVERIFY2(s.SaveFile(path, false), s.ErrDescr().c_str());
        }
        Clocked c;
        clsPW& s = c.store;
        s.SetFilePW("pw");
        QVERIFY(s.SetSitePermission("Bank A", "a.example", false));
        s.SetFormat(FileFormat::Legacy);
        QVERIFY(!s.SaveFile(path, false));
        QVERIFY(s.Refusal());
        QVERIFY(s.Refusal()->field == Field::Sites);
        QCOMPARE(s.Refusal()->name, std::string("Bank A"));
        QCOMPARE(s.SitePermission("Bank A", "a.example"), std::optional<bool>(false));
    }

    void mergeKeepsRemovalsAndDenials() {
        Clocked base;
        QVERIFY(base.store.AddBrowserLink("Firefox", kKeyA));
        clsPW mine = base.store, theirs = base.store;
        // Theirs removed the connection; mine used it later and made another.
        QVERIFY(theirs.RemoveBrowserLink(kKeyA));
        base.now += 5;
        mine.TouchBrowserLink("Firefox", kKeyA);
        QVERIFY(mine.AddBrowserLink("Laptop", kKeyB));
        // One site: allowed on one side, denied on the other; others apart.
        QVERIFY(mine.SetSitePermission("Bank A", "bank.example", true));
        QVERIFY(theirs.SetSitePermission("Bank A", "bank.example", false));
        QVERIFY(mine.SetSitePermission("Bank A", "mine.example", true));
        QVERIFY(theirs.SetSitePermission("Bank A", "theirs.example", true));
        // An entry edited on one side only keeps the other side's sites too.
        QVERIFY(theirs.SetSitePermission("Loose", "loose.example", true));
        T_Password loose = *mine.Password().Find("Loose");
        loose.User = "changed";
        loose.Dt_Modif += 1;
        QVERIFY(mine.PWEdit(loose, "Loose"));

        for (const bool threeWay : {true, false}) {
            clsPW into = mine;
            MergeSummary summary;
            QVERIFY(into.Merge(threeWay ? &base.store : nullptr, theirs, summary));
            QVERIFY(!into.FindBrowserLink("Firefox", kKeyA));
            QVERIFY(into.FindBrowserLink("Laptop", kKeyB));
            const std::vector<T_SitePermission> sites = {
                {"bank.example", false}, {"mine.example", true}, {"theirs.example", true}};
            QCOMPARE(into.Password().Find("Bank A")->Sites, sites);
            QCOMPARE(into.Password().Find("Loose")->User, std::string("changed"));
            QCOMPARE(into.SitePermission("Loose", "loose.example"), std::optional<bool>(true));
        }
    }
};

QTEST_GUILESS_MAIN(TestBrowserLinks)
#include "tst_browser_links.moc"
