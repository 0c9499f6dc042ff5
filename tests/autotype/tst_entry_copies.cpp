// The copy commands of one entry, and secrets leaving the clipboard after the
// delay or at exit, unless something else was copied meanwhile.
#include "autotype/entry_copies.h"
#include "autotype/key_pair.h"
#include "autotype/secret_clipboard.h"
#include "frame/one_time_code.h"
#include "frame/options.h"
#include "frame/program_state.h"

#include <QClipboard>
#include <QMimeData>
#include <QtTest>

#include <chrono>
#include <vector>

using namespace std::chrono_literals;
using qvs::Opt;

namespace {

QClipboard* Clipboard() {
    return QGuiApplication::clipboard();
}

bool MarkedSecret() {
    const QMimeData* data = Clipboard()->mimeData();
    return data && data->data(QString::fromLatin1(qvs::kPasswordHintType)) == "secret";
}

} // namespace

class TestEntryCopies : public QObject {
    Q_OBJECT
private slots:
    void init() {
        Opt() = qvs::DefaultOptions();
        qvs::App().store = std::make_unique<ardeko::clsPW>();
        ardeko::T_Password p;
        p.service = "Bank";
        p.User = "anna";
        p.pw = "s3cret";
        p.URL_Access = "https://bank.example/login";
        p.Keyaftbef = qvs::PackKeyPair(8, 0);
        QVERIFY(qvs::Store().PWAdd(p));
        timers_.clear();
        qvs::SetClipboardClearTimer([this](std::chrono::milliseconds delay, auto done) {
            timers_.push_back({delay, std::move(done)});
        });
        Clipboard()->clear();
    }
    void cleanup() {
        qvs::ClearSecretFromClipboard();
        qvs::SetClipboardClearTimer({});
    }

    void eachCommandCopiesItsText() {
        qvs::CopyPasswordToClipboard(QStringLiteral("bank"));
        QCOMPARE(Clipboard()->text(), QStringLiteral("s3cret"));
        QVERIFY(MarkedSecret());

        qvs::CopyLoginToClipboard(QStringLiteral("Bank"));
        QCOMPARE(Clipboard()->text(), QStringLiteral("anna\ts3cret"));
        QVERIFY(MarkedSecret());

        // An address is no secret: plain, and never cleared.
        qvs::CopyAccessUrlToClipboard(QStringLiteral("Bank"));
        QCOMPARE(Clipboard()->text(), QStringLiteral("https://bank.example/login"));
        QVERIFY(!MarkedSecret());
        QCOMPARE(timers_.size(), std::size_t(2));
        for (auto& timer : timers_)
            timer.done();
        QCOMPARE(Clipboard()->text(), QStringLiteral("https://bank.example/login"));

        qvs::CopyPasswordToClipboard(QStringLiteral("Nobody"));
        QCOMPARE(Clipboard()->text(), QString());
    }

    // The code is a secret as well; an entry without one leaves the
    // clipboard as it was, so the caller can say why.
    void codeIsCopiedAsASecret() {
        ardeko::T_Password p = *qvs::Store().Password().Find("Bank");
        p.Totp = "otpauth://totp/Bank?secret=GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ";
        QVERIFY(qvs::Store().PWEdit(p, "Bank", p.Codcat, p.CodSCat));
        qvs::SetCodeClock([] { return std::int64_t{1111111109}; });
        QVERIFY(qvs::CopyCodeToClipboard(QStringLiteral("Bank")));
        qvs::SetCodeClock({});
        QCOMPARE(Clipboard()->text(), QStringLiteral("081804")); // RFC 6238, SHA-1
        QVERIFY(MarkedSecret());
        QCOMPARE(timers_.size(), std::size_t(1));
        qvs::CopyAccessUrlToClipboard(QStringLiteral("Bank"));
        QVERIFY(!qvs::CopyCodeToClipboard(QStringLiteral("Nobody")));
        QCOMPARE(Clipboard()->text(), QStringLiteral("https://bank.example/login"));
    }

    void secretIsClearedAfterTheDelay() {
        Opt().ClipboardClearSecs = 12;
        qvs::CopyPasswordToClipboard(QStringLiteral("Bank"));
        // A later copy gets the whole delay: the earlier timer must not cut it short.
        qvs::CopyLoginToClipboard(QStringLiteral("Bank"));
        QCOMPARE(timers_.size(), std::size_t(2));
        QCOMPARE(timers_.back().delay, std::chrono::milliseconds(12s));
        timers_[0].done();
        QCOMPARE(Clipboard()->text(), QStringLiteral("anna\ts3cret"));
        timers_[1].done();
        QVERIFY(Clipboard()->text().isEmpty());
        QVERIFY(!MarkedSecret());
    }

    void somethingCopiedMeanwhileStays() {
        qvs::CopyLoginToClipboard(QStringLiteral("Bank"));
        Clipboard()->setText(QStringLiteral("a shopping list"));
        timers_.front().done();
        QCOMPARE(Clipboard()->text(), QStringLiteral("a shopping list"));

        // The same text copied by someone else, without our mark, stays too.
        qvs::CopyPasswordToClipboard(QStringLiteral("Bank"));
        Clipboard()->setText(QStringLiteral("s3cret"));
        timers_.back().done();
        QCOMPARE(Clipboard()->text(), QStringLiteral("s3cret"));
    }

    // Leaving the event loop is what the programs do at exit.
    void exitClearsOnlyOurSecret() {
        Opt().ClipboardClearSecs = 0; // never by time
        qvs::CopyPasswordToClipboard(QStringLiteral("Bank"));
        QVERIFY(timers_.empty());
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        qApp->exec();
        QVERIFY(Clipboard()->text().isEmpty());

        qvs::CopyPasswordToClipboard(QStringLiteral("Bank"));
        Clipboard()->setText(QStringLiteral("mine"));
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        qApp->exec();
        QCOMPARE(Clipboard()->text(), QStringLiteral("mine"));
    }

private:
    struct PendingTimer {
        std::chrono::milliseconds delay;
        std::function<void()> done;
    };
    std::vector<PendingTimer> timers_;
};

QTEST_MAIN(TestEntryCopies)
#include "tst_entry_copies.moc"
