// The health report over a store, and the search of breached-password lists
// generated here: found and not found at every place in the list, line ends
// and letter case as such lists come, and lists that cannot be searched.
#include "store/passwords/breached_list.h"
#include "store/passwords/password_health.h"
#include "store/passwords/password_strength.h"
#include "tests/store/store_samples.h"

#include <QCryptographicHash>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <map>

using namespace ardeko;

namespace {

const double kToday = VbDateFromParts({2026, 3, 10, 0, 0, 0});

QByteArray Sha1(const std::string& pw) {
    return QCryptographicHash::hash(QByteArray::fromStdString(pw), QCryptographicHash::Sha1)
        .toHex()
        .toUpper();
}

// pw -> count, written as the published lists are: sorted by hash.
QByteArray ListText(const std::map<std::string, int>& seen, const QByteArray& lineEnd = "\r\n") {
    std::vector<QByteArray> lines;
    for (const auto& [pw, count] : seen)
        lines.push_back(Sha1(pw) + ':' + QByteArray::number(count));
    std::sort(lines.begin(), lines.end());
    QByteArray text;
    for (const QByteArray& line : lines)
        text += line + lineEnd;
    return text;
}

std::string WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& text) {
    QFile f(dir.filePath(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size()) return {};
    return f.fileName().toStdString();
}

T_Password Entry(const std::string& name, const std::string& pw) {
    T_Password p = SampleEntry(name);
    p.pw = pw;
    p.Dt_Insert = p.Dt_Modif = kToday - 10;
    return p;
}

std::vector<std::string> Services(const HealthReport& r, HealthIssue issue) {
    std::vector<std::string> out;
    for (const HealthFinding& f : r.findings)
        if (f.issue == issue) out.push_back(f.service);
    return out;
}

using Names = std::vector<std::string>;

} // namespace

class TestPasswordHealth : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

private slots:
    void hashesAsTheListsHoldThem() {
        QCOMPARE(Sha1Hex("password"), std::string("5BAA61E4C9B93F3F0682250B6CF8331B7EE68FD8"));
        QCOMPARE(QByteArray::fromStdString(Sha1Hex("Crème brûlée €")), Sha1("Crème brûlée €"));
    }

    // Every password of the list is found with its count, wherever its line
    // falls (first, last, any middle), and no other is; in both line ends and
    // letter cases, and in lists of one or two lines.
    void findsEveryListedPasswordAndNoOther() {
        for (int size : {1, 2, 3, 50, 700}) {
            std::map<std::string, int> seen;
            for (int i = 0; i < size; ++i)
                seen["listed-" + std::to_string(i)] = i * 37 + 1;
            for (const char* end : {"\n", "\r\n"})
                for (bool lower : {false, true}) {
                    QByteArray text = ListText(seen, end);
                    if (lower) text = text.toLower();
                    const std::string path = WriteFile(dir_, "list.txt", text);
                    BreachedList list;
                    QVERIFY2(list.Open(path), list.ErrDescr().c_str());
                    for (const auto& [pw, count] : seen)
                        QCOMPARE(list.TimesSeen(pw), std::optional<std::uint64_t>(count));
                    for (int i = 0; i < 40; ++i)
                        QCOMPARE(list.TimesSeen("absent-" + std::to_string(i)),
                                 std::optional<std::uint64_t>(0));
                }
        }
    }

    void refusesListsItCannotSearch_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("error");
        std::map<std::string, int> seen;
        for (int i = 0; i < 300; ++i)
            seen["pw" + std::to_string(i)] = 300 - i;
        const QByteArray sorted = ListText(seen);
        QTest::newRow("empty") << QByteArray() << Code(StoreError::NotHashList);
        QTest::newRow("a text") << QByteArray("Dear user,\nthis is no list.\n")
                                << Code(StoreError::NotHashList);
        // The same list ordered by count, as it is also published.
        QList<QByteArray> lines = sorted.split('\n');
        lines.removeLast();
        std::sort(lines.begin(), lines.end(), [](const QByteArray& a, const QByteArray& b) {
            return a.mid(41).trimmed().toInt() > b.mid(41).trimmed().toInt();
        });
        QTest::newRow("by count") << lines.join('\n') + '\n' << Code(StoreError::ListNotSorted);
        // NTLM hashes have 32 digits.
        QTest::newRow("NTLM") << QByteArray("8846F7EAEE8FB117AD06BDD830B7586C:1\n")
                              << Code(StoreError::NotHashList);
        QTest::newRow("no count") << Sha1("x") + ":\r\n" << Code(StoreError::NotHashList);
        QTest::newRow("one long line") << QByteArray(10000, 'A') << Code(StoreError::NotHashList);
    }
    // Told, never taken as a list that holds nothing: a user would believe
    // every password safe.
    void refusesListsItCannotSearch() {
        QFETCH(QByteArray, text);
        QFETCH(int, error);
        BreachedList list;
        QVERIFY(!list.Open(WriteFile(dir_, "bad.txt", text)));
        QCOMPARE(list.ErrNum(), error);
        QVERIFY(!list.IsOpen());
        QVERIFY(!list.TimesSeen("pw1"));
        BreachedList missing;
        QVERIFY(!missing.Open(dir_.filePath("none.txt").toStdString()));
        QCOMPARE(missing.ErrNum(), Code(StoreError::ListUnreadable));
        QVERIFY(!missing.Open(dir_.path().toStdString())); // a folder
        QCOMPARE(missing.ErrNum(), Code(StoreError::ListUnreadable));
    }

    void findsWhatNeedsAttention() {
        clsPW s;
        s.SetClock([] { return kToday + 0.5; });
        s.InsertPassword(Entry("Strong", "vX7#qLm2!rT9@wZp4$kN"));
        s.InsertPassword(Entry("Weak", "password1"));
        for (const char* name : {"Shared A", "Shared B", "Shared C"})
            s.InsertPassword(Entry(name, "Tz8!mQ4@vL2#xR7$"));
        s.InsertPassword(Entry("Pair 1", "Hq3$Wn8!Zp5@Kd2#"));
        s.InsertPassword(Entry("Pair 2", "Hq3$Wn8!Zp5@Kd2#"));
        T_Password expired = Entry("Expired", "Lm4!Rt8@Vx2#Qp6$");
        expired.blExpire = true;
        expired.Dt_Expire = kToday;
        s.InsertPassword(expired);
        T_Password soon = Entry("Change soon", "Bn5@Yk9!Wc3#Fs7$");
        soon.blChange = soon.blNotChange = true;
        soon.Dt_Change = kToday + 3;
        soon.ggNotChange = 5;
        s.InsertPassword(soon);
        // Set 366 days ago by its history, though the entry is new.
        T_Password old = Entry("Old", "Gd6#Jp2!Tm8@Xz4$");
        old.History.push_back({"earlier", kToday - 366});
        s.InsertPassword(old);
        // No password: nothing to guess, share or age, but its date counts.
        T_Password empty = Entry("No password", "");
        empty.Dt_Insert = kToday - 4000;
        empty.blChange = true;
        empty.Dt_Change = kToday - 1;
        s.InsertPassword(empty);
        s.InsertPassword(Entry("Also empty", ""));

        HealthReport r;
        QCOMPARE(AnalysePasswords(s, {}, r), HealthResult::Done);
        QCOMPARE(r.entries, std::size_t(12));
        QVERIFY(!r.breachedChecked);
        QCOMPARE(Services(r, HealthIssue::Weak), Names{"Weak"});
        QCOMPARE(Services(r, HealthIssue::Reused),
                 (Names{"Pair 1", "Pair 2", "Shared A", "Shared B", "Shared C"}));
        QCOMPARE(Services(r, HealthIssue::Expired), Names{"Expired"});
        QCOMPARE(Services(r, HealthIssue::ChangeDue), Names{"No password"});
        QCOMPARE(Services(r, HealthIssue::ChangeSoon), Names{"Change soon"});
        QCOMPARE(Services(r, HealthIssue::Old), Names{"Old"});
        QVERIFY(Services(r, HealthIssue::Breached).empty());
        // One group number per shared password, with its size.
        std::map<std::string, std::pair<std::size_t, std::size_t>> groups;
        for (const HealthFinding& f : r.findings)
            if (f.issue == HealthIssue::Reused) groups[f.service] = {f.group, f.sharedBy};
        QCOMPARE(groups["Pair 1"], groups["Pair 2"]);
        QCOMPARE(groups["Shared A"], groups["Shared C"]);
        QVERIFY(groups["Pair 1"].first != groups["Shared A"].first);
        QCOMPARE(groups["Pair 1"].second, std::size_t(2));
        QCOMPARE(groups["Shared B"].second, std::size_t(3));
        const auto weak = std::find_if(r.findings.begin(), r.findings.end(),
                                       [](const auto& f) { return f.issue == HealthIssue::Weak; });
        QCOMPARE(weak->bits, PasswordEntropyBits("password1"));
        QVERIFY(StrengthLevel(weak->bits) < kFairLevel);

        // Against a list: found ones first, the most often seen first.
        const std::string path =
            WriteFile(dir_, "list.txt",
                      ListText({{"password1", 5}, {"Hq3$Wn8!Zp5@Kd2#", 70}, {"unrelated", 9}}));
        BreachedList list;
        QVERIFY(list.Open(path));
        QCOMPARE(AnalysePasswords(s, {&list, {}}, r), HealthResult::Done);
        QVERIFY(r.breachedChecked);
        QCOMPARE(Services(r, HealthIssue::Breached), (Names{"Pair 1", "Pair 2", "Weak"}));
        QCOMPARE(r.findings.front().timesSeen, std::uint64_t(70));
        QCOMPARE(r.findings[2].timesSeen, std::uint64_t(5));

        // Asked to stop, it stops.
        std::size_t calls = 0;
        const auto stop = [&](std::size_t, std::size_t) { return ++calls < 2; };
        QCOMPARE(AnalysePasswords(s, {&list, stop}, r), HealthResult::Stopped);
    }

    // Without earlier passwords, a format-2 file's entry has kept its
    // password since it was made; a legacy file keeps no earlier passwords,
    // so only its last change is sure.
    void ageOfAPassword() {
        T_Password p = Entry("E", "x");
        p.Dt_Insert = kToday - 900;
        p.Dt_Modif = kToday - 20;
        QCOMPARE(PasswordSetOn(p, FileFormat::Two), kToday - 900);
        QCOMPARE(PasswordSetOn(p, FileFormat::Legacy), kToday - 20);
        p.History = {{"b", kToday - 100}, {"a", kToday - 500}};
        QCOMPARE(PasswordSetOn(p, FileFormat::Two), kToday - 100);

        clsPW s;
        s.SetClock([] { return kToday + 0.9; });
        T_Password edge = Entry("A year to the day", "Gd6#Jp2!Tm8@Xz4$");
        edge.Dt_Insert = kToday - kOldPasswordDays;
        s.InsertPassword(edge);
        T_Password undated = Entry("Undated", "Rk2@Vn7!Hy4#Ms9$");
        undated.Dt_Insert = 0;
        s.InsertPassword(undated);
        HealthReport r;
        QCOMPARE(AnalysePasswords(s, {}, r), HealthResult::Done);
        QVERIFY(Services(r, HealthIssue::Old).empty());
    }
};

QTEST_GUILESS_MAIN(TestPasswordHealth)
#include "tst_password_health.moc"
