// Each program's export, written by hand in its documented shape with
// awkward values, imported into a store: fields, folders, clashes of names,
// what goes to the notes, and imports that must change nothing.
#include "store/foreign_import.h"
#include "store/pw.h"
#include "store/totp.h"
#include "store/vbdate.h"
#include "tests/store/store_samples.h"

#include <QtTest>

#include <algorithm>

using namespace ardeko;

namespace {

constexpr double kNow = 46000.5;

struct Imported {
    ImportPlan plan;
    std::optional<std::string> error;
};

// Reads bytes, plans against store and applies the plan.
Imported Import(clsPW& store, std::string_view bytes, ReadOptions options = {}) {
    ForeignData data;
    if (auto err = ReadForeignData(bytes, options, data)) return {{}, err};
    Imported r{PlanImport(store, data, {kNow, 0}), std::nullopt};
    r.error = ApplyImport(store, r.plan);
    return r;
}

const T_Password& Entry(const clsPW& s, const std::string& name) {
    static const T_Password none;
    const T_Password* p = s.Password().Find(name);
    return p ? *p : none;
}

// "Category" or "Category > Subcategory" of an entry.
std::string PlaceOf(const clsPW& s, const std::string& name) {
    const T_Password& p = Entry(s, name);
    std::string place = s.CatValue(p.Codcat);
    if (p.CodSCat) place += " > " + s.SubCatValue(p.CodSCat);
    return place;
}

std::string Json(std::string text) {
    std::replace(text.begin(), text.end(), '\'', '"');
    return text;
}

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

class TestForeignImport : public QObject {
    Q_OBJECT

private slots:
    void chromeKeepsEveryLoginToOneSite() {
        clsPW s;
        s.InsertPassword(SampleEntry("example.com"));
        const auto r =
            Import(s, "name,url,username,password,note\n"
                      "example.com,https://example.com/login,ann,\"p,w\"\"1\",\"two\nlines\"\n"
                      "example.com,https://example.com/,bob,pw2,\n"
                      "example.com,https://example.com/,bob,pw3,\n"
                      ",https://me@shop.example.org:8443/x?y,carl,pw4,\n");
        QVERIFY(!r.error);
        QCOMPARE(r.plan.entries.size(), std::size_t(4));
        QCOMPARE(r.plan.renamed, std::size_t(3));
        const T_Password& ann = Entry(s, "example.com (ann)");
        QCOMPARE(ann.pw, std::string("p,w\"1"));
        QCOMPARE(ann.Descr, std::string("two\nlines"));
        QCOMPARE(ann.URL_Access, std::string("https://example.com/login"));
        QCOMPARE(ann.Dt_Insert, kNow);
        QCOMPARE(Entry(s, "example.com (bob)").pw, std::string("pw2"));
        QCOMPARE(Entry(s, "example.com (bob) 2").pw, std::string("pw3"));
        QCOMPARE(Entry(s, "shop.example.org").User, std::string("carl"));    // named by its host
        QCOMPARE(Entry(s, "example.com").pw, std::string("pw-example.com")); // untouched
        QVERIFY(s.NotSaved());
        QVERIFY(s.Password().InNameOrder());
    }

    void firefoxTimesAndFieldsWithoutAPlace() {
        clsPW s;
        const auto r = Import(
            s, "\"url\",\"username\",\"password\",\"httpRealm\",\"formActionOrigin\",\"guid\","
               "\"timeCreated\",\"timeLastUsed\",\"timePasswordChanged\"\r\n"
               "\"https://a.example\",\"u\",\"p\",\"\",\"https://a.example\",\"{1}\","
               "\"1704067200000\",\"1704067200000\",\"1706745600000\"\r\n"
               "\"https://b.example\",\"v\",\"q\",\"Intranet\",\"\",\"{2}\",\"\",\"\",\"\"\r\n");
        QVERIFY(!r.error);
        const T_Password& a = Entry(s, "a.example");
        QCOMPARE(a.Dt_Insert, LocalDateFromUnix(1704067200));
        QCOMPARE(a.Dt_Modif, LocalDateFromUnix(1706745600));
        QCOMPARE(a.Descr, std::string()); // the same form address is no extra field
        QCOMPARE(Entry(s, "b.example").Descr,
                 std::string(kMovedFieldsHeading) + "\nHTTP realm: Intranet");
        QCOMPARE(r.plan.movedToNotes, std::size_t(1));
    }

    void keepassGroupsBelowTheRoot() {
        clsPW s;
        s.CatAdd("mail"); // the same category, another letter case
        const auto r = Import(
            s,
            "\"Group\",\"Title\",\"Username\",\"Password\",\"URL\",\"Notes\",\"TOTP\",\"Icon\","
            "\"Last Modified\",\"Created\"\n"
            "\"Root\",\"Top\",\"t\",\"1\",\"\",\"\",\"\",\"0\",\"\",\"\"\n"
            "\"Root/Mail\",\"Webmail\",\"w\",\"2\",\"\",\"n\",\"otpauth://totp/x?secret=AB\",\"0\","
            "\"2024-02-01T00:00:00Z\",\"2024-01-01T00:00:00Z\"\n"
            "\"Root/Mail/Work/Old/Very old\",\"Deep\",\"d\",\"3\",\"\",\"\",\"\",\"0\",\"\",\"\"\n"
            "\"Root/Banks/Cards\",\"Visa\",\"v\",\"4\",\"\",\"\",\"\",\"0\",\"\",\"\"\n"
            "\"Root/Banks/Cards\",\"\",\"\",\"\",\"\",\"\",\"\",\"0\",\"\",\"\"\n");
        QVERIFY(!r.error);
        QCOMPARE(PlaceOf(s, "Top"), std::string());
        QCOMPARE(PlaceOf(s, "Webmail"), std::string("mail"));
        QCOMPARE(PlaceOf(s, "Deep"), std::string("mail > Work / Old / Very old"));
        QCOMPARE(PlaceOf(s, "Visa"), std::string("Banks > Cards"));
        QCOMPARE(r.plan.newCategories, std::vector<std::string>{"Banks"});
        QCOMPARE(r.plan.newSubcategories.size(), std::size_t(2));
        const T_Password& w = Entry(s, "Webmail");
        QCOMPARE(w.Descr,
                 "n\n\n" + std::string(kMovedFieldsHeading) + "\nTOTP: otpauth://totp/x?secret=AB");
        QVERIFY(ParseIsoDate("2024-01-01T00:00:00Z"));
        QCOMPARE(w.Dt_Insert, *ParseIsoDate("2024-01-01T00:00:00Z"));
        QCOMPARE(w.Dt_Modif, *ParseIsoDate("2024-02-01T00:00:00Z"));
        QCOMPARE(r.plan.skipped.size(), std::size_t(1)); // the row with nothing in it
        QCOMPARE(r.plan.skipped.front().line, std::size_t(6));
    }

    void bitwardenCsv() {
        clsPW s;
        const auto r =
            Import(s, "folder,favorite,type,name,notes,fields,reprompt,login_uri,login_username,"
                      "login_password,login_totp\n"
                      "Work/Servers/Linux,1,login,ssh box,,\"port: 22\nrole: admin\",0,"
                      "\"https://a.example,https://b.example\",root,toor,JBSWY3DP\n"
                      ",,note,Recipe,\"flour, sugar\",,0,,,,\n");
        QVERIFY(!r.error);
        const T_Password& box = Entry(s, "ssh box");
        QVERIFY(box.Favourites);
        QCOMPARE(PlaceOf(s, "ssh box"), std::string("Work > Servers / Linux"));
        QCOMPARE(box.URL_Access, std::string("https://a.example"));
        QCOMPARE(box.Descr, std::string(kMovedFieldsHeading) +
                                "\nport: 22\nrole: admin\nURL: https://b.example\nTOTP: JBSWY3DP");
        QCOMPARE(Entry(s, "Recipe").Descr, std::string("flour, sugar"));
        QVERIFY(!Entry(s, "Recipe").Favourites);
        QCOMPARE(r.plan.movedToNotes, std::size_t(4));
    }

    void bitwardenJson() {
        clsPW s;
        // JSON written with ' for ", so that it reads as it is.
        const auto r = Import(
            s, Json("{ 'encrypted': false,"
                    "  'folders': [ { 'id': 'f1', 'name': 'Finance/Cards' } ],"
                    "  'items': ["
                    "    { 'id': 'i1', 'folderId': 'f1', 'type': 1,"
                    "      'name': 'Bank \\'Ü\\'', 'notes': null, 'favorite': true,"
                    "      'creationDate': '2023-05-01T08:00:00.000Z',"
                    "      'revisionDate': '2023-06-01T08:00:00.000Z',"
                    "      'fields': [ { 'name': 'PIN', 'value': '1234', 'type': 1 } ],"
                    "      'login': { 'uris': [ { 'match': null, 'uri': 'https://bank.example' } ],"
                    "                 'username': 'me', 'password': 'sec\\'ret', 'totp': null } },"
                    "    { 'id': 'i2', 'folderId': null, 'type': 4, 'name': 'Me',"
                    "      'identity': { 'firstName': 'Ann', 'email': 'ann@example.org',"
                    "                    'phone': null } },"
                    "    { 'id': 'i3', 'folderId': 'gone', 'type': 2, 'name': 'Wifi',"
                    "      'notes': 'key: x' }"
                    "  ] }"));
        QVERIFY(!r.error);
        const T_Password& bank = Entry(s, "Bank \"Ü\"");
        QCOMPARE(PlaceOf(s, bank.service), std::string("Finance > Cards"));
        QVERIFY(bank.Favourites);
        QCOMPARE(bank.pw, std::string("sec\"ret"));
        QCOMPARE(bank.User, std::string("me"));
        QCOMPARE(bank.Descr, std::string(kMovedFieldsHeading) + "\nPIN: 1234");
        QCOMPARE(bank.Dt_Insert, *ParseIsoDate("2023-05-01T08:00:00Z"));
        QCOMPARE(Entry(s, "Me").Email, std::string("ann@example.org"));
        QCOMPARE(Entry(s, "Me").Descr, std::string(kMovedFieldsHeading) + "\nfirstName: Ann");
        QCOMPARE(PlaceOf(s, "Wifi"), std::string()); // an unknown folder is no folder
        QCOMPARE(Entry(s, "Wifi").Descr, std::string("key: x"));
    }

    // Secrets that parse go into the code field of a file that holds codes;
    // any other, and every secret imported into an older-format file, stays
    // in the notes.
    void codesTakeTheirOwnFieldWhereTheFileHoldsThem() {
        const std::string csv = "name,user,OTP,totp\n"
                                "A,a,,jbsw y3dp ehpk 3pxp\n"
                                "B,b,otpauth://totp/Co:b?secret=JBSWY3DPEHPK3PXP&digits=8,x\n"
                                "C,c,steam://ABC,\n";
        ReadOptions generic;
        generic.format = ForeignFormat::Csv;
        generic.mapText = "title=name,user=user";
        clsPW s;
        const auto r = Import(s, csv, generic);
        QVERIFY(!r.error);
        QCOMPARE(r.plan.codes, std::size_t(2));
        QCOMPARE(Entry(s, "A").Descr, std::string());
        const auto a = ParseTotp(Entry(s, "A").Totp);
        QVERIFY(a.params);
        QCOMPARE(a.params->secret, std::string("Hello!\xDE\xAD\xBE\xEF"));
        QVERIFY(Entry(s, "B").Totp.find("digits=8") != std::string::npos);
        QCOMPARE(Entry(s, "B").Descr, std::string(kMovedFieldsHeading) + "\ntotp: x");
        QCOMPARE(Entry(s, "C").Totp, std::string());
        QCOMPARE(Entry(s, "C").Descr, std::string(kMovedFieldsHeading) + "\nOTP: steam://ABC");

        clsPW legacy;
        legacy.SetFormat(FileFormat::Legacy);
        const auto l = Import(legacy, csv, generic);
        QVERIFY(!l.error);
        QCOMPARE(l.plan.codes, std::size_t(0));
        QCOMPARE(Entry(legacy, "A").Totp, std::string());
        QCOMPARE(Entry(legacy, "A").Descr,
                 std::string(kMovedFieldsHeading) + "\ntotp: jbsw y3dp ehpk 3pxp");
    }

    void lastPass() {
        clsPW s;
        const auto r = Import(s, "url,username,password,totp,extra,name,grouping,fav\r\n"
                                 "https://x.example,u,p,,,X,Social\\Friends,1\r\n"
                                 "http://sn,,,,\"NoteType:Server\nHostname:h\",Server,,0\r\n");
        QVERIFY(!r.error);
        QCOMPARE(PlaceOf(s, "X"), std::string("Social > Friends"));
        QVERIFY(Entry(s, "X").Favourites);
        QCOMPARE(Entry(s, "Server").URL_Access, std::string());
        QCOMPARE(Entry(s, "Server").Descr, std::string("NoteType:Server\nHostname:h"));
    }

    void textTheFileCannotHoldChangesNothing() {
        clsPW s;
        s.SetFormat(FileFormat::Legacy);
        FillSample(s);
        const clsPW before = s;
        const auto r = Import(s, "name,url,username,password\n"
                                 "ok,https://ok,a,b\n"
                                 "Mail,https://m,Жанна,pw\n");
        QVERIFY(r.error);
        QVERIFY2(Q(*r.error).contains("Line 3") && Q(*r.error).contains("Entry \"Mail\"") &&
                     Q(*r.error).contains("U+0416"),
                 r.error->c_str());
        QCOMPARE(Items(s.Password()), Items(before.Password()));
        QVERIFY(!s.NotSaved());
        // A password is never quoted, even in a message.
        clsPW t;
        t.SetFormat(FileFormat::Legacy);
        const auto secret = Import(t, "name,url,username,password\nx,,,пароль\n");
        QVERIFY(secret.error);
        QVERIFY(!Q(*secret.error).contains("п"));
        QCOMPARE(t.Password().Count(), std::size_t(0));
        // A category name is checked too.
        const auto folder = Import(t, "folder,favorite,type,name,login_uri,login_username,"
                                      "login_password\nДом,,login,x,,,\n");
        QVERIFY(folder.error);
        QCOMPARE(t.Category().Count(), std::size_t(0));
        // A format-2 file holds any text.
        clsPW modern;
        QVERIFY(!Import(modern, "name,url,username,password\nMail,,Жанна,пароль\n").error);
        QCOMPARE(modern.Password().Find("Mail")->User, std::string("Жанна"));
    }

    void failureMidwayLeavesTheStoreAlone() {
        // No category code is left, so the second new category cannot be made
        // after the first was.
        clsPW s;
        s.InsertCategory({32766, "Last", false});
        const auto r =
            Import(s, "folder,favorite,type,name,login_uri,login_username,login_password\n"
                      "A,,login,one,,,\n"
                      "B,,login,two,,,\n");
        QVERIFY(r.error);
        QCOMPARE(s.Category().Count(), std::size_t(1));
        QCOMPARE(s.Password().Count(), std::size_t(0));
        QVERIFY(!s.NotSaved());
    }

    void addAllMatchesAddingOneByOne() {
        clsPW one, all;
        FillSample(one);
        FillSample(all);
        std::vector<T_Password> batch;
        for (const char* name : {"zz", "Bank A2", "a", "Bank", "Mailbox!", "0"})
            batch.push_back(SampleEntry(name));
        for (const T_Password& p : batch)
            QVERIFY(one.PWAdd(p));
        QVERIFY(all.PWAddAll(batch));
        // Alike but for the identifiers: every entry added gets a new one.
        auto withoutIds = [](const clsPW& s) {
            std::vector<T_Password> items = Items(s.Password());
            for (T_Password& p : items)
                p.Id.clear();
            return items;
        };
        QCOMPARE(withoutIds(all), withoutIds(one));
        for (const T_Password& p : batch)
            QVERIFY(!all.Password().Find(p.service)->Id.empty());
        QVERIFY(all.NotSaved());
        // A name already there, or twice in the batch: nothing is added.
        for (const std::vector<std::string>& names :
             {std::vector<std::string>{"new", "MAILBOX"}, std::vector<std::string>{"x", "X"}}) {
            std::vector<T_Password> bad;
            for (const std::string& n : names)
                bad.push_back(SampleEntry(n));
            QVERIFY(!all.PWAddAll(bad));
            QCOMPARE(all.ErrNum(), 457);
            QCOMPARE(all.Password().Count(), one.Password().Count());
        }
    }

    void summaryTellsWhatHappens() {
        clsPW s;
        s.InsertPassword(SampleEntry("Mail"));
        const auto r = Import(s, "\"Group\",\"Title\",\"Username\",\"Password\",\"URL\",\"Notes\","
                                 "\"TOTP\"\n"
                                 "\"Root/New\",\"Mail\",\"me\",\"x\",\"\",\"\",\"T\"\n"
                                 "\"Root\",\"\",\"\",\"\",\"\",\"\",\"\"\n");
        QVERIFY(!r.error);
        const QString text = Q(ImportSummaryText(r.plan));
        for (const char* part :
             {"KeePass-format CSV (keepass-csv)", "Entries: 1", "New categories: 1",
              "Renamed entries (name already taken): 1", "Line 2: \"Mail\" becomes \"Mail (me)\"",
              "Fields kept in the notes: 1", "Rows skipped: 1", "Line 3: nothing to import"})
            QVERIFY2(text.contains(QLatin1String(part)), qPrintable(text));
    }
};

QTEST_GUILESS_MAIN(TestForeignImport)
#include "tst_foreign_import.moc"
