#include "frame/store_reason.h"

#include "frame/language.h"
#include "frame/text_ids.h"
#include "store/keyed_collection.h"
#include "store/legacy/legacy_file.h"
#include "store/pw.h"

#include <QHash>
#include <QRegularExpression>

#include <map>
#include <utility>

namespace qvs {

namespace {

// The window captions of the fields a refused text can be in.
int FieldCaption(ardeko::Field field) {
    using ardeko::Field;
    static const std::map<Field, int> captions{{Field::Service, text::kServiceCaption},
                                               {Field::User, text::kUserCaption},
                                               {Field::Password, text::kPasswordCaption},
                                               {Field::Email, text::kEmailCaption},
                                               {Field::Description, text::kDescriptionCaption},
                                               {Field::Hint, text::kHintCaption},
                                               {Field::AccessUrl, text::kAccessUrlCaption},
                                               {Field::ChangeUrl, text::kChangeUrlCaption},
                                               {Field::DeleteUrl, text::kDeleteUrlCaption},
                                               {Field::CategoryName, text::kCategoryCaption},
                                               {Field::SubcategoryName, text::kSubCategoryCaption}};
    const auto found = captions.find(field);
    return found == captions.end() ? 0 : found->second;
}

// "Entry "Bank"", "Category "Banks"", ...: the record the text is in.
QString RecordLead(const ardeko::TextRefusal& r) {
    using Record = ardeko::TextRefusal::Record;
    static const std::map<Record, int> leads{{Record::Entry, text::kEntryLead},
                                             {Record::Category, text::kCategoryLead},
                                             {Record::Subcategory, text::kSubCategoryLead},
                                             {Record::TreeNode, text::kTreeNodeLead}};
    return LocalTextWith(leads.at(r.record), QString::fromStdString(r.name));
}

QString Replaced(int id, const QString& field, const QString& n) {
    return GetLocalText(id)
        .replace(QLatin1String("%s"), field)
        .replace(QLatin1String("%n"), n)
        .replace(QLatin1String("%m"), QString::number(ardeko::kMaxTextLength));
}

} // namespace

QString RefusalText(const ardeko::TextRefusal& r, bool tooLong) {
    const int length = tooLong ? static_cast<int>(r.length) : 0;
    if (r.record == ardeko::TextRefusal::Record::FilePassword)
        return tooLong ? Replaced(text::kFilePasswordTooLong, QString(), QString::number(length))
                       : GetLocalText(text::kFilePasswordUnstorable);
    if (RefusesWholeField(r))
        return RecordLead(r) + QLatin1Char(' ') +
               GetLocalText(r.field == ardeko::Field::Code      ? text::kCodeUnstorable
                            : r.field == ardeko::Field::History ? text::kHistoryUnstorable
                            : r.field == ardeko::Field::Sites   ? text::kSitesUnstorable
                                                                : text::kExtraFieldsUnstorable);
    const int caption = FieldCaption(r.field);
    const QString field =
        caption ? FieldName(GetLocalText(caption)) : QString::fromStdString(r.fieldName);
    QString character;
    if (r.character) {
        const char32_t cp = *r.character;
        character = QString::fromUcs4(&cp, 1);
    }
    return RecordLead(r) + QLatin1Char(' ') + RefusedTextMessage(field, character, length);
}

namespace {

// The store's own reasons that name a file, a count or a system error, in
// its words: "%s" stands for the file (or the rest of the line), "%n" for a
// number, "%b" and "%f" for its backup copy and the folder of its dated
// copies. A reason the store words otherwise keeps its own words.
constexpr std::pair<int, const char*> kStoreWordings[] = {
    {36410, "The password for file %s is wrong!"},
    {36411, "The password for file %s is wrong, or the file is damaged! If the password is right, "
            "its backup copies may still be whole: %b and the dated copies in %f."},
    {36412, "File %s: Invalid File Version!"},
    {36413, "File %s is larger than any data file can be!"},
    {36414, "File %s not Found!"},
    {36415, "File %s is damaged: values that cannot be right were dropped!"},
    {36416, "File %s is damaged: its data ends early!"},
    {36417, "File %s is damaged: %n records with duplicate names were skipped!"},
    {36418, "The file has no name yet: choose where to save it."},
    {36419, "The key of the file could not be made: there is not enough memory."},
    {37402, "File %s: its key settings (%n passes, %b MiB) are beyond what is opened without "
            "asking; opening it takes about %f seconds here."},
    {36420, "The file could not be sealed: there is not enough memory."},
    {36421, "There is not enough memory to save the file."},
    {36422, "To save the file in the older format, give its password again."},
    {36423, "The file password is wrong!"},
    {36424, "Path not found: %s"},
    {36425, "Permission denied: %s"},
    {36426, "Disk full: %s"},
    {36427, "Path/File access error: %s"},
    {36428, "Bad file name or number: %s"},
    {36429, "Device I/O error: %s"},
    {38501, "Browser connections and site permissions cannot be stored in a file of the older "
            "format; a file of format 2 can hold them."},
};

const QRegularExpression& Marks() {
    static const QRegularExpression marks(QStringLiteral("%[snbf]"));
    return marks;
}

// The wording as a whole-text pattern: "%s" and "%n" capture in order.
QRegularExpression WordingPattern(const QString& wording) {
    QString pattern = QStringLiteral("^");
    qsizetype at = 0;
    for (const auto& mark : Marks().globalMatch(wording)) {
        pattern += QRegularExpression::escape(wording.mid(at, mark.capturedStart() - at));
        pattern += mark.captured() == QLatin1String("%n") ? QStringLiteral("(\\d+)")
                                                          : QStringLiteral("(.+)");
        at = mark.capturedEnd();
    }
    pattern += QRegularExpression::escape(wording.mid(at)) + QStringLiteral("$");
    return QRegularExpression(pattern, QRegularExpression::DotMatchesEverythingOption);
}

QString TranslatedWording(const QString& descr) {
    for (const auto& [id, wording] : kStoreWordings) {
        const QString english = QString::fromLatin1(wording);
        const QRegularExpressionMatch match = WordingPattern(english).match(descr);
        if (!match.hasMatch()) continue;
        // Each mark once in a wording; a translation may put them in any
        // order. One pass, so that a file name holding "%n" stays as it is.
        QHash<QString, QString> values;
        int group = 1;
        for (const auto& mark : Marks().globalMatch(english))
            values.insert(mark.captured(), match.captured(group++));
        const QString translated = GetLocalText(id);
        QString text;
        qsizetype at = 0;
        for (const auto& mark : Marks().globalMatch(translated)) {
            text += translated.mid(at, mark.capturedStart() - at);
            text += values.value(mark.captured(), mark.captured());
            at = mark.capturedEnd();
        }
        return text + translated.mid(at);
    }
    return descr;
}

} // namespace

bool RefusesWholeField(const ardeko::TextRefusal& r) {
    using ardeko::Field;
    return r.field == Field::Code || r.field == Field::History || r.field == Field::ExtraFields ||
           r.field == Field::Sites;
}

QString RefusedTextMessage(const QString& field, const QString& character, int length) {
    if (length > 0) return Replaced(text::kFieldTooLong, field, QString::number(length));
    if (character.isEmpty()) return Replaced(text::kUnstorableSecretCharacter, field, QString());
    return Replaced(text::kUnstorableCharacter, field, character);
}

QString FieldName(const QString& caption) {
    QString name = caption;
    name.remove(QLatin1Char('&'));
    name = name.trimmed();
    if (name.endsWith(QLatin1Char(':'))) name.chop(1);
    return name.trimmed();
}

QString StoreReason(const ardeko::clsPW& store) {
    switch (store.ErrNum()) {
    case ardeko::Code(ardeko::StoreError::DuplicateKey):
        return GetLocalText(text::kNameInUse);
    case ardeko::Code(ardeko::StoreError::Overflow):
        return GetLocalText(text::kNoFreeCode);
    case ardeko::Code(ardeko::StoreError::UnstorableText):
    case ardeko::Code(ardeko::StoreError::TooLarge):
        if (store.Refusal())
            return RefusalText(*store.Refusal(), store.ErrNum() == ardeko::StoreError::TooLarge);
        return TranslatedWording(QString::fromStdString(store.ErrDescr()));
    default:
        return TranslatedWording(QString::fromStdString(store.ErrDescr()));
    }
}

} // namespace qvs
