// The password generator and the strength estimate: what the options give,
// that everything generated can be stored, and the editor taking the result.
#include "tests/dialogs/entry/editor_fixture.h"
#include "tests/frame/store_fixture.h"

#include "frame/frm_pw_gen.h"
#include "frame/strength_meter.h"
#include "frame/word_list.h"
#include "store/codepage.h"
#include "store/passwords/password_strength.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>

#include <cmath>

using ardeko::GeneratorOptions;
Q_DECLARE_METATYPE(GeneratorOptions)

namespace {

bool Encodable(const QString& text) {
    return !ardeko::Utf8ToCp1252(text.toStdString()).badCodePoint;
}

bool AllIn(const QString& text, const QString& pool) {
    return std::all_of(text.begin(), text.end(), [&](QChar c) { return pool.contains(c); });
}

} // namespace

class TestPasswordGenerator : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(LoadShippedLanguage()); }

    void optionsShapeThePassword_data() {
        QTest::addColumn<GeneratorOptions>("options");
        QTest::addColumn<QString>("pattern");
        GeneratorOptions all;
        QTest::newRow("default") << all << "^[!-~]{20}$";
        GeneratorOptions digits{
            .length = 4, .capitals = false, .smallLetters = false, .symbols = false};
        QTest::newRow("digits only, shortest") << digits << "^[0-9]{4}$";
        GeneratorOptions letters{.length = 128, .digits = false, .symbols = false};
        QTest::newRow("letters, longest") << letters << "^[A-Za-z]{128}$";
        GeneratorOptions tooLong{
            .length = 500, .capitals = false, .digits = false, .symbols = false};
        QTest::newRow("length kept in range") << tooLong << "^[a-z]{128}$";
        GeneratorOptions plain{.noLookAlikes = true};
        QTest::newRow("no look-alikes") << plain << "^[^0Oo1lI|'\"`]{20}$";
    }
    void optionsShapeThePassword() {
        QFETCH(GeneratorOptions, options);
        QFETCH(QString, pattern);
        const QRegularExpression shape(pattern);
        const QString pool = QString::fromStdString(ardeko::CharacterPool(options));
        for (int i = 0; i < 200; ++i) {
            const QString pw = QString::fromStdString(ardeko::GeneratePassword(options));
            QVERIFY2(shape.match(pw).hasMatch(), qPrintable(pattern));
            QVERIFY(AllIn(pw, pool) && Encodable(pw));
        }
    }

    // Every chosen kind shows up, and over many draws every character of the
    // pool does: nothing is left out by mistake.
    void everyKindAndCharacterIsDrawn() {
        const GeneratorOptions options{.length = 8, .noLookAlikes = true};
        const QString pool = QString::fromStdString(ardeko::CharacterPool(options));
        QCOMPARE(pool.size(), 26 + 26 + 10 + 32 - 10);
        QSet<QChar> seen;
        for (int i = 0; i < 2000; ++i) {
            const QString pw = QString::fromStdString(ardeko::GeneratePassword(options));
            for (const char* kind : {"[A-Z]", "[a-z]", "[0-9]", "[^A-Za-z0-9]"})
                QVERIFY(pw.contains(QRegularExpression(QString::fromLatin1(kind))));
            for (QChar c : pw)
                seen.insert(c);
        }
        QCOMPARE(seen.size(), pool.size());
    }

    void noKindGivesNothing() {
        const GeneratorOptions none{
            .capitals = false, .smallLetters = false, .digits = false, .symbols = false};
        QVERIFY(QString::fromStdString(ardeko::GeneratePassword(none)).isEmpty());
    }

    void passphrasesComeFromTheShippedLists() {
        for (const QString& language : {QStringLiteral("ENG"), QStringLiteral("ITA")}) {
            const std::vector<std::string> words = qvs::WordList(language);
            QVERIFY(words.size() >= 900);
            QVERIFY(std::all_of(words.begin(), words.end(), [](const std::string& w) {
                return QRegularExpression(QStringLiteral("^[a-z]{3,12}$"))
                    .match(QString::fromStdString(w))
                    .hasMatch();
            }));
            const QString phrase =
                QString::fromStdString(ardeko::GeneratePassphrase({.words = 5}, words));
            const QStringList parts = phrase.split(QLatin1Char('-'));
            QCOMPARE(parts.size(), 5);
            for (const QString& part : parts)
                QVERIFY(std::find(words.begin(), words.end(), part.toStdString()) != words.end());
        }
        QCOMPARE(qvs::WordList(QStringLiteral("XYZ")), qvs::WordList(QStringLiteral("ENG")));
        QVERIFY(qvs::WordList(QStringLiteral("ENG")) != qvs::WordList(QStringLiteral("ITA")));
    }

    // Comments, blanks and repeats in a list's text are no words.
    void wordListTextIsParsed() {
        QCOMPARE(ardeko::ParseWordList("# words\n able \r\n\nacid\nable\n  # no\nzeal"),
                 (std::vector<std::string>{"able", "acid", "zeal"}));
    }

    void strengthGrowsWithTheGuessingWork() {
        QCOMPARE(qvs::PasswordEntropyBits(QString()), 0.0);
        QCOMPARE(ardeko::StrengthLevel(qvs::PasswordEntropyBits(QStringLiteral("password"))), 0);
        const int phrase = ardeko::StrengthLevel(
            qvs::PasswordEntropyBits(QStringLiteral("correct horse battery staple")));
        QVERIFY(phrase >= 2 && phrase <= 3);
        QCOMPARE(ardeko::StrengthLevel(qvs::PasswordEntropyBits(
                     QString::fromStdString(ardeko::GeneratePassword({})))),
                 ardeko::kStrongestLevel);
        qvs::StrengthMeter meter;
        QCOMPARE(meter.Level(), -1);
        meter.SetPassword(QStringLiteral("123456"));
        QCOMPARE(meter.Level(), 0);
        QCOMPARE(Child<QLabel>(&meter, "lblStrength")->text(), qvs::GetLocalText(31119));
    }

    // The generator's meter shows what was drawn, not what the result looks
    // like: real words look strong to a guesser's estimate.
    void generatedStrengthIsTheDrawnEntropy() {
        const GeneratorOptions digits{
            .length = 4, .capitals = false, .smallLetters = false, .symbols = false};
        QCOMPARE(ardeko::GeneratedEntropyBits(digits, 0), 4 * std::log2(10.0));
        // Every kind must be there: 36^4 - 26^4 - 10^4 passwords.
        GeneratorOptions twoKinds = digits;
        twoKinds.capitals = true;
        QVERIFY(qAbs(ardeko::GeneratedEntropyBits(twoKinds, 0) - std::log2(1212640.0)) < 1e-9);
        QVERIFY(ardeko::GeneratedEntropyBits({}, 0) >= 75);
        for (const QString& language : {QStringLiteral("ENG"), QStringLiteral("ITA")}) {
            const std::size_t size = qvs::WordList(language).size();
            QVERIFY(ardeko::GeneratedEntropyBits({.passphrase = true}, size) >= 75);
            QVERIFY(ardeko::GeneratedEntropyBits({.passphrase = true, .words = 3}, size) < 36);
        }

        qvs::frmPwGen dialog;
        Child<QRadioButton>(&dialog, "optPassphrase")->click();
        Child<QSpinBox>(&dialog, "txtWords")->setValue(3);
        const double bits = ardeko::GeneratedEntropyBits(
            {.passphrase = true, .words = 3}, qvs::WordList(QStringLiteral("ENG")).size());
        QCOMPARE(Child<qvs::StrengthMeter>(&dialog, "Strength")->Level(),
                 ardeko::StrengthLevel(bits));
        QVERIFY(ardeko::StrengthLevel(bits) <= 1);
        QVERIFY(Child<QLabel>(&dialog, "lblStrength")
                    ->text()
                    .endsWith(QString::number(int(bits)) + QStringLiteral(" bits")));
    }

    // The button beside the password box: the chosen result fills both boxes.
    void editorTakesTheResult() {
        FreshStore();
        qvs::Opt().SecurityLevel = 1;
        QPointer<qvs::frmPW> w = qvs::PasswordAdd(0, 0);
        QString proposed;
        ModalScript script;
        script.On<qvs::frmPwGen>([&](qvs::frmPwGen* g) {
            QCOMPARE(Child<QSpinBox>(g, "txtLength")->value(), 20);
            // Masked where the editor masks the password.
            QCOMPARE(Box(g, "txtResult")->echoMode(), QLineEdit::Password);
            Child<QCheckBox>(g, "chkSymbols")->click();
            Child<QSpinBox>(g, "txtLength")->setValue(12);
            proposed = Box(g, "txtResult")->text();
            QVERIFY(
                QRegularExpression(QStringLiteral("^[A-Za-z0-9]{12}$")).match(proposed).hasMatch());
            Child<QPushButton>(g, "cmdOK")->click();
        });
        script.Start();
        Child<QAbstractButton>(w, "cmdGenerate")->click();
        QVERIFY(script.Done());
        QCOMPARE(Box(w, "txtPw")->text(), proposed);
        QCOMPARE(Box(w, "txtPW2")->text(), proposed);
        QVERIFY(Child<qvs::StrengthMeter>(w, "Strength")->Level() >= 2);

        // Passphrase mode, kept from the last time; Cancel changes nothing.
        script.On<qvs::frmPwGen>([&](qvs::frmPwGen* g) {
            QVERIFY(!Child<QCheckBox>(g, "chkSymbols")->isChecked());
            Child<QRadioButton>(g, "optPassphrase")->click();
            QCOMPARE(Box(g, "txtResult")->text().count(QLatin1Char('-')), 7);
            QVERIFY(!Child(g, "txtLength")->isEnabled());
            Child<QPushButton>(g, "cmdCancel")->click();
        });
        script.Start();
        Child<QAbstractButton>(w, "cmdGenerate")->click();
        QCOMPARE(Box(w, "txtPw")->text(), proposed);
        w->deleteLater();
        Settle();
    }
};

QTEST_MAIN(TestPasswordGenerator)
#include "tst_password_generator.moc"
