#include "frame/store_reason.h"

#include "frame/language.h"
#include "store/keyed_collection.h"
#include "store/pw.h"

#include <map>

namespace qvs {

namespace {

constexpr int kNameInUseText = 33504;
constexpr int kNoFreeCodeText = 33505;
constexpr int kUnstorableText = 31100;
constexpr int kUnstorableSecretText = 31101;
constexpr int kTooLongText = 31102;
constexpr int kPasswordUnstorableText = 35304;
constexpr int kPasswordTooLongText = 35305;
constexpr int kCodeUnstorableText = 35306;
constexpr int kHistoryUnstorableText = 35307;
constexpr int kFieldsUnstorableText = 36800;

// The window captions of the fields a refused text can be in.
int FieldCaption(const std::string& field) {
    static const std::map<std::string, int> captions{
        {"service", 11101},    {"User", 11102},     {"pw", 11103},         {"Email", 11105},
        {"Descr", 11054},      {"Remember", 11301}, {"URL_Access", 11501}, {"URL_Change", 11502},
        {"URL_Delete", 11503}, {"DescrCat", 11201}, {"DescrSCat", 11202}};
    const auto found = captions.find(field);
    return found == captions.end() ? 0 : found->second;
}

// "Entry "Bank"", "Category "Banks"", ...: the record the text is in.
QString RecordLead(const ardeko::TextRefusal& r) {
    using Record = ardeko::TextRefusal::Record;
    static const std::map<Record, int> leads{{Record::Entry, 35300},
                                             {Record::Category, 35301},
                                             {Record::Subcategory, 35302},
                                             {Record::TreeNode, 35303}};
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
        return tooLong ? Replaced(kPasswordTooLongText, QString(), QString::number(length))
                       : GetLocalText(kPasswordUnstorableText);
    if (r.field == "Totp" || r.field == "History" || r.field == "Fields")
        return RecordLead(r) + QLatin1Char(' ') +
               GetLocalText(r.field == "Totp"      ? kCodeUnstorableText
                            : r.field == "History" ? kHistoryUnstorableText
                                                   : kFieldsUnstorableText);
    const int caption = FieldCaption(r.field);
    const QString field =
        caption ? FieldName(GetLocalText(caption)) : QString::fromStdString(r.field);
    QString character;
    if (r.character) {
        const char32_t cp = *r.character;
        character = QString::fromUcs4(&cp, 1);
    }
    return RecordLead(r) + QLatin1Char(' ') + RefusedTextMessage(field, character, length);
}

QString RefusedTextMessage(const QString& field, const QString& character, int length) {
    if (length > 0) return Replaced(kTooLongText, field, QString::number(length));
    if (character.isEmpty()) return Replaced(kUnstorableSecretText, field, QString());
    return Replaced(kUnstorableText, field, character);
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
    case ardeko::kErrDuplicateKey:
        return GetLocalText(kNameInUseText);
    case ardeko::kErrOverflow:
        return GetLocalText(kNoFreeCodeText);
    case ardeko::kErrUnstorableText:
    case ardeko::kErrTooLarge:
        if (store.Refusal())
            return RefusalText(*store.Refusal(), store.ErrNum() == ardeko::kErrTooLarge);
        return QString::fromStdString(store.ErrDescr());
    default:
        return QString::fromStdString(store.ErrDescr());
    }
}

} // namespace qvs
