// Passwords and passphrases drawn from the system's cryptographic random
// source, made only of characters a data file can hold (plain ASCII, so they
// can also be typed into any other program).
#pragma once

#include <QString>
#include <QStringList>

class QRandomGenerator;

namespace qvs {

struct GeneratorOptions {
    static constexpr int kMinLength = 4;
    static constexpr int kMaxLength = 128;
    static constexpr int kMinWords = 3;
    static constexpr int kMaxWords = 12;

    int length = 20;
    bool capitals = true;
    bool smallLetters = true;
    bool digits = true;
    bool symbols = true;
    bool noLookAlikes = false; // leave out 0 O o 1 l I | and quotes
    bool passphrase = false;
    // With the shipped lists (about 10 bits a word) as many words as the
    // default password's strength needs: at least 75 bits.
    int words = 8;
};

// The characters a password may be made of; empty when no kind is chosen.
QString CharacterPool(const GeneratorOptions& options);

// A password of options.length characters holding at least one character of
// every chosen kind (when it is long enough for that); "" when no kind is
// chosen.
QString GeneratePassword(const GeneratorOptions& options, QRandomGenerator& random);
QString GeneratePassword(const GeneratorOptions& options);

// options.words words of the list, joined by "-".
QString GeneratePassphrase(const GeneratorOptions& options, const QStringList& words,
                           QRandomGenerator& random);

// How many bits of randomness the generator puts into what it makes with
// options: log2 of the number of passwords it can give, each as likely (a
// password holds every chosen kind), or words x log2 of the list's size.
double GeneratedEntropyBits(const GeneratorOptions& options, qsizetype wordListSize);

// The shipped word list of a language ("ENG", "ITA"); English when the
// language has none.
QStringList WordList(const QString& language);

} // namespace qvs
