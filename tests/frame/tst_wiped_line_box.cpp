// A line box that must leave no unwiped copy of its text: typed over (all
// of it or a part, shown or hidden), replaced, taken out, or deleted,
// neither the old nor the new text stays in the process's memory; and the
// box still edits and hands its text over as a plain line box does. The
// memory search only sees freed copies where the allocator keeps freed
// blocks a while (the sanitizer build); the normal build's reuse of them
// hides what is missed there.
#include "tests/store/memory_scan.h"

#include "frame/wipe_text.h"
#include "frame/wiped_line_box.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using namespace memscan;

namespace {

constexpr char kOldPlain[] = "stored-secret-8642097531-uvw";
constexpr char kNewPlain[] = "typed-secret-1357986420-xyz";
const std::string kOld16 = MaskedUtf16(kOldPlain);
const std::string kNew16 = MaskedUtf16(kNewPlain);

// A secret as a QString for the box (the plain text itself is read-only
// data, which the search leaves out); the caller wipes it.
QString Secret(const char* plain) {
    return QString::fromLatin1(plain);
}

bool Secret16InMemory() {
    return InMemory(kOld16) || InMemory(kNew16);
}

std::unique_ptr<QLineEdit> FilledBox(QLineEdit::EchoMode echo) {
    auto box = std::make_unique<QLineEdit>();
    box->setEchoMode(echo);
    qvs::WipeLineBoxCopies(box.get());
    QString old = Secret(kOldPlain);
    box->setText(old);
    qvs::WipeText(old);
    box->show();
    return box;
}

// Types the new secret over the selection [start, start + length).
void TypeOver(QLineEdit* box, int start, int length) {
    box->setSelection(start, length);
    QString typed = Secret(kNewPlain);
    QTest::keyClicks(box, typed);
    qvs::WipeText(typed);
}

} // namespace

class TestWipedLineBox : public QObject {
    Q_OBJECT
private slots:
    void typedOverLeavesNoCopies_data() {
        QTest::addColumn<int>("echo");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        for (auto [name, echo] :
             {std::pair{"shown", QLineEdit::Normal}, std::pair{"hidden", QLineEdit::Password}}) {
            QTest::addRow("%s, all", name) << int(echo) << 0 << int(sizeof kOldPlain - 1);
            QTest::addRow("%s, middle", name) << int(echo) << 6 << 8;
            QTest::addRow("%s, at the end", name) << int(echo) << int(sizeof kOldPlain - 1) << 0;
        }
    }
    void typedOverLeavesNoCopies() {
        QFETCH(int, echo);
        QFETCH(int, start);
        QFETCH(int, length);
        auto box = FilledBox(QLineEdit::EchoMode(echo));
        TypeOver(box.get(), start, length);
        // Built in room of its own: a growing string leaves copies too.
        QString expected;
        expected.reserve(2 * int(sizeof kOldPlain + sizeof kNewPlain));
        expected.append(QLatin1StringView(kOldPlain, start))
            .append(QLatin1StringView(kNewPlain))
            .append(QLatin1StringView(kOldPlain + start + length));
        QVERIFY(box->text() == expected);
        qvs::WipeText(expected);

        QString taken = qvs::TakeLineBoxText(box.get());
        QVERIFY(box->text().isEmpty() && !box->isUndoAvailable());
        QCOMPARE(taken.size(), sizeof kOldPlain - 1 - length + sizeof kNewPlain - 1);
        qvs::WipeText(taken);
        QVERIFY(!Secret16InMemory());
    }

    void deletedBoxLeavesNoCopies() {
        auto box = FilledBox(QLineEdit::Normal);
        TypeOver(box.get(), 0, int(sizeof kOldPlain - 1));
        box.reset();
        QVERIFY(!Secret16InMemory());
    }

    // The generator's or an earlier password put in: once the box is done,
    // the one replaced is gone.
    void replacedTextGoesOnceTheBoxIsDone() {
        auto box = FilledBox(QLineEdit::Normal);
        box->setText(QStringLiteral("another"));
        QCoreApplication::sendPostedEvents();
        QVERIFY(!InMemory(kOld16));
    }

    // Put back quietly, taken out again whole; the box edits as before.
    void putAndTakeKeepTheText() {
        QLineEdit box;
        qvs::WipeLineBoxCopies(&box);
        QSignalSpy changes(&box, &QLineEdit::textChanged);
        qvs::PutLineBoxText(&box, QStringLiteral("user@example"));
        QCOMPARE(box.text(), QStringLiteral("user@example"));
        QCOMPARE(changes.count(), 0);
        box.setCursorPosition(4);
        QTest::keyClicks(&box, QStringLiteral("-x"));
        QCOMPARE(box.text(), QStringLiteral("user-x@example"));
        QVERIFY(box.isUndoAvailable());
        box.undo();
        QCOMPARE(box.text(), QStringLiteral("user@example"));
        QCOMPARE(qvs::TakeLineBoxText(&box), QStringLiteral("user@example"));
        QVERIFY(box.text().isEmpty());
        QCOMPARE(changes.count(), 3); // two keys and the undo
    }
};

QTEST_MAIN(TestWipedLineBox)
#include "tst_wiped_line_box.moc"
