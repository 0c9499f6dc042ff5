// Which entries a web page gets: the tricks a hostile page plays with its
// address (look-alike names, the entry's name inside another host, a shared
// public suffix, a user name before the host) get nothing, while the forms
// people write addresses in (no scheme, capitals, a script of their own)
// still match. And the index by site gives what a walk over all would.
#include "store/keyed_collection.h"
#include "store/site_index.h"
#include "store/site_match.h"

#include <QtTest>

using namespace ardeko;

namespace {

T_Password Entry(const std::string& service, const std::string& address) {
    T_Password e;
    e.service = service;
    e.URL_Access = address;
    return e;
}

KeyedCollection<T_Password> Entries(const std::vector<T_Password>& list) {
    KeyedCollection<T_Password> c;
    for (const T_Password& e : list)
        c.Append(e.service, e);
    return c;
}

QStringList Services(const std::vector<const T_Password*>& found) {
    QStringList names;
    for (const T_Password* e : found)
        names << QString::fromStdString(e->service);
    names.sort();
    return names;
}

} // namespace

class TestSiteMatch : public QObject {
    Q_OBJECT

private slots:
    void matches_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("expected");
        const auto row = [](const char* name, const char* page, const QString& entry, bool ok) {
            QTest::newRow(name) << QString::fromUtf8(page) << entry << ok;
        };
        // Hosts and subdomains.
        row("same host", "https://example.com/login", "example.com", true);
        row("subdomain of the entry", "https://www.example.com/", "example.com", true);
        row("deeper subdomain", "https://a.b.example.com/x", "https://example.com", true);
        row("parent of the entry's host", "https://example.com/", "www.example.com", false);
        row("sibling subdomain", "https://mail.example.com/", "www.example.com", false);
        row("entry's name before another domain", "https://example.com.evil.net/", "example.com",
            false);
        row("entry's name at the end of a label", "https://evil-example.com/", "example.com",
            false);
        row("entry's name glued on", "https://notexample.com/", "example.com", false);
        row("user name that looks like the host", "https://example.com@evil.net/", "example.com",
            false);
        row("host named in the path", "https://evil.net/example.com", "example.com", false);
        row("host named in the query", "https://evil.net/?u=https://example.com", "example.com",
            false);
        row("capitals and a trailing dot", "https://WWW.Example.COM./", "EXAMPLE.com", true);
        row("entry with path, query and user", "https://example.com/",
            "https://me@example.com/login?next=/", true);
        row("two-part suffix", "https://login.example.co.uk/", "example.co.uk", true);
        // International names: the browser sends the xn-- form.
        row("accented look-alike", "https://xn--exmple-cua.com/", "example.com", false);
        row("Cyrillic look-alike", "https://xn--exmple-4nf.com/", "example.com", false);
        row("entry written in its own script", "https://xn--bcher-kva.de/",
            QString::fromUtf8("bücher.de"), true);
        row("entry written in xn-- form", "https://www.xn--bcher-kva.de/", "xn--bcher-kva.de",
            true);
        row("Cyrillic entry is not the Latin site", "https://example.com/",
            QString::fromUtf8("ex\u0430mple.com"), false);
        // Public suffixes: another party's site under the same suffix.
        row("entry is a suffix", "https://example.co.uk/", "co.uk", false);
        row("entry is a top-level domain", "https://example.com/", "com", false);
        row("other site under a private suffix", "https://bob.github.io/", "alice.github.io",
            false);
        row("private suffix as entry", "https://evil.github.io/", "github.io", false);
        row("subdomain under a private suffix", "https://www.alice.github.io/", "alice.github.io",
            true);
        row("suffix below the entry's domain", "https://bucket.us-east-1.amazonaws.com/",
            "amazonaws.com", false);
        // Schemes and ports.
        row("entry without scheme is https", "http://example.com/", "example.com", false);
        row("http entry on http", "http://example.com/", "http://example.com", true);
        row("http entry on https", "https://example.com/", "http://example.com", true);
        row("https entry on http", "http://example.com/", "https://example.com", false);
        row("other port on the page", "https://example.com:8443/", "example.com", false);
        row("port the entry names", "https://example.com:8443/", "example.com:8443", true);
        row("port the entry names, page default", "https://example.com/", "example.com:8443",
            false);
        row("default port written out", "https://example.com:443/", "example.com", true);
        row("default port in the entry", "https://example.com/", "https://example.com:443", true);
        row("http default port is not https's", "https://example.com/", "http://example.com:80",
            false);
        row("local development server", "http://localhost:3000/", "http://localhost:3000", true);
        // Addresses.
        row("same IPv4", "https://192.168.1.1/", "192.168.1.1", true);
        row("IPv4 tail", "https://10.192.168.1.1/", "192.168.1.1", false);
        row("IPv6 with port", "http://[::1]:8080/", "http://[::1]:8080/admin", true);
        // What is not an address never matches.
        row("no address", "https://example.com/", "", false);
        row("blank address", "https://example.com/", "   ", false);
        row("words", "https://example.com/", "my bank", false);
        row("other scheme in the entry", "https://example.com/", "ftp://example.com", false);
        row("mail address with its scheme", "https://example.com/", "mailto:me@example.com",
            false);
        row("mail address", "https://example.com/", "me@example.com", false);
        row("scheme without slashes", "https://example.com/", "javascript:example.com", false);
        row("IPv6 and port without scheme", "https://[::1]:8443/", "[::1]:8443", true);
        row("scheme only", "https://example.com/", "https://", false);
        row("escaped host", "https://example.com/", "https://exa%6Dple.com", false);
        row("bad port", "https://example.com/", "example.com:99999", false);
        row("page without scheme", "example.com", "example.com", false);
        row("page on another scheme", "ftp://example.com/", "example.com", false);
        row("empty labels", "https://example..com/", "example..com", false);
    }
    void matches() {
        QFETCH(QString, page);
        QFETCH(QString, entry);
        QFETCH(bool, expected);
        QCOMPARE(SiteMatches(page.toStdString(), entry.toStdString()), expected);
    }

    void siteKeys() {
        QCOMPARE(SiteKey("a.b.example.co.uk"), std::string("example.co.uk"));
        QCOMPARE(SiteKey("www.alice.github.io"), std::string("alice.github.io"));
        QCOMPARE(SiteKey("github.io"), std::string("github.io"));
        QCOMPARE(SiteKey("com"), std::string("com"));
        QCOMPARE(SiteKey("192.168.1.1"), std::string("192.168.1.1"));
        QCOMPARE(SiteKey("::1"), std::string("::1"));
    }

    // The index gives exactly what a walk over every entry gives, for pages
    // of several kinds, including a site that shares its suffix with others.
    void indexAgreesWithAWalk() {
        const auto entries = Entries({
            Entry("Example", "https://example.com"),
            Entry("Example mail", "mail.example.com"),
            Entry("Example on 8443", "example.com:8443"),
            Entry("Evil", "example.com.evil.net"),
            Entry("Alice", "alice.github.io"),
            Entry("Bob", "bob.github.io"),
            Entry("Nothing", ""),
            Entry("Words", "the bank round the corner"),
            Entry("Router", "http://192.168.1.1"),
        });
        SiteIndex index;
        index.Rebuild(entries);
        QCOMPARE(index.Size(), std::size_t(7));
        const char* pages[] = {"https://example.com/",
                               "https://mail.example.com/",
                               "https://example.com:8443/",
                               "https://alice.github.io/",
                               "https://x.bob.github.io/",
                               "http://192.168.1.1/",
                               "https://example.com.evil.net/",
                               "https://unknown.org/",
                               "not a page"};
        for (const char* page : pages) {
            std::vector<const T_Password*> walked;
            for (const T_Password& e : entries)
                if (SiteMatches(page, e.URL_Access)) walked.push_back(&e);
            QCOMPARE(Services(index.Lookup(entries, page)), Services(walked));
        }
        QCOMPARE(Services(index.Lookup(entries, "https://mail.example.com/")),
                 QStringList({"Example", "Example mail"}));
    }

    // Entries changed after the index was built: a stale index may miss an
    // entry, never give one whose address no longer serves the page.
    void staleIndexNeverGivesAWrongEntry() {
        auto entries = Entries({Entry("Bank", "bank.example"), Entry("Shop", "shop.example")});
        SiteIndex index;
        index.Rebuild(entries);
        entries.Remove("Bank");
        entries.Append("Bank", Entry("Bank", "evil.example"));
        entries.Remove("Shop");
        QVERIFY(index.Lookup(entries, "https://bank.example/").empty());
        QVERIFY(index.Lookup(entries, "https://shop.example/").empty());
        index.Rebuild(entries);
        QCOMPARE(Services(index.Lookup(entries, "https://evil.example/")), QStringList({"Bank"}));
    }
};

QTEST_GUILESS_MAIN(TestSiteMatch)
#include "tst_site_match.moc"
