#include "dialogs/password_generator.h"

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <array>
#include <cmath>

namespace qvs {

namespace {

constexpr char kCapitals[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr char kSmallLetters[] = "abcdefghijklmnopqrstuvwxyz";
constexpr char kDigits[] = "0123456789";
constexpr char kSymbols[] = "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~";
constexpr char kLookAlikes[] = "0Oo1lI|'\"`";
constexpr int kMaxTries = 1000;

// The chosen kinds, each without the look-alikes when they are left out.
QStringList Kinds(const GeneratorOptions& o) {
    const std::array<std::pair<bool, const char*>, 4> all{{{o.capitals, kCapitals},
                                                           {o.smallLetters, kSmallLetters},
                                                           {o.digits, kDigits},
                                                           {o.symbols, kSymbols}}};
    QStringList kinds;
    for (const auto& [chosen, chars] : all) {
        if (!chosen) continue;
        QString kind = QString::fromLatin1(chars);
        if (o.noLookAlikes) {
            for (const char c : std::string_view(kLookAlikes))
                kind.remove(QLatin1Char(c));
        }
        kinds << kind;
    }
    return kinds;
}

bool HasEveryKind(const QString& password, const QStringList& kinds) {
    return std::all_of(kinds.begin(), kinds.end(), [&](const QString& kind) {
        return std::any_of(password.begin(), password.end(),
                           [&](QChar c) { return kind.contains(c); });
    });
}

QString Draw(const QString& pool, int length, QRandomGenerator& random) {
    QString out;
    out.reserve(length);
    for (int i = 0; i < length; ++i)
        out += pool.at(static_cast<int>(random.bounded(static_cast<quint32>(pool.size()))));
    return out;
}

} // namespace

QString CharacterPool(const GeneratorOptions& options) {
    return Kinds(options).join(QString());
}

QString GeneratePassword(const GeneratorOptions& options, QRandomGenerator& random) {
    const QStringList kinds = Kinds(options);
    const QString pool = kinds.join(QString());
    if (pool.isEmpty()) return {};
    const int length =
        std::clamp(options.length, GeneratorOptions::kMinLength, GeneratorOptions::kMaxLength);
    // Drawing again until every kind is there keeps every such password
    // equally likely.
    QString password;
    for (int i = 0; i < kMaxTries; ++i) {
        password = Draw(pool, length, random);
        if (length < kinds.size() || HasEveryKind(password, kinds)) break;
    }
    return password;
}

QString GeneratePassword(const GeneratorOptions& options) {
    return GeneratePassword(options, *QRandomGenerator::system());
}

QString GeneratePassphrase(const GeneratorOptions& options, const QStringList& words,
                           QRandomGenerator& random) {
    if (words.isEmpty()) return {};
    const int count =
        std::clamp(options.words, GeneratorOptions::kMinWords, GeneratorOptions::kMaxWords);
    QStringList chosen;
    for (int i = 0; i < count; ++i)
        chosen << words.at(static_cast<int>(random.bounded(static_cast<quint32>(words.size()))));
    return chosen.join(QLatin1Char('-'));
}

double GeneratedEntropyBits(const GeneratorOptions& options, qsizetype wordListSize) {
    if (options.passphrase) {
        if (wordListSize <= 0) return 0;
        const int count =
            std::clamp(options.words, GeneratorOptions::kMinWords, GeneratorOptions::kMaxWords);
        return count * std::log2(double(wordListSize));
    }
    const QStringList kinds = Kinds(options);
    const double pool = double(CharacterPool(options).size());
    if (pool == 0) return 0;
    const int length =
        std::clamp(options.length, GeneratorOptions::kMinLength, GeneratorOptions::kMaxLength);
    if (length < kinds.size()) return length * std::log2(pool);
    // Passwords missing no kind, by inclusion and exclusion over the kinds
    // left out, relative to all pool^length: at most 2^4 terms.
    double share = 0;
    for (unsigned missing = 0; missing < (1u << kinds.size()); ++missing) {
        double left = pool;
        int sign = 1;
        for (int k = 0; k < kinds.size(); ++k)
            if (missing & (1u << k)) {
                left -= double(kinds[k].size());
                sign = -sign;
            }
        share += sign * std::pow(left / pool, length);
    }
    return length * std::log2(pool) + std::log2(share);
}

QStringList WordList(const QString& language) {
    for (const QString& code : {language.toUpper(), QStringLiteral("ENG")}) {
        QFile file(QStringLiteral(":/words/") + code);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) continue;
        QStringList words;
        for (const QByteArray& line : file.readAll().split('\n')) {
            const QString word = QString::fromUtf8(line).trimmed();
            if (!word.isEmpty() && !word.startsWith(QLatin1Char('#'))) words << word;
        }
        words.removeDuplicates();
        if (!words.isEmpty()) return words;
    }
    return {};
}

} // namespace qvs
