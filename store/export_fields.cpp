#include "export/export_fields.h"

#include "store/pw.h"
#include "store/vbdate.h"

#include <QRegularExpression>

namespace qvs {

namespace {

enum Field {
    Category,
    SubCategory,
    User,
    Password,
    Email,
    Url,
    ExpireFlag,
    ExpireDate,
    ExpireUrl,
    ChangeFlag,
    ChangeDate,
    ChangeUrl,
    Totp
};

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

QString Flag(bool on) {
    return on ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
}

QString CategoryText(const ardeko::clsPW& store, std::int16_t code) {
    const QString name = Text(store.CatValue(code));
    return name.isEmpty() ? kNoCategory : name;
}

QString SubCategoryText(const ardeko::clsPW& store, std::int16_t code) {
    const QString name = Text(store.SubCatValue(code));
    return name.isEmpty() ? kNoSubCategory : name;
}

QString HistoryText(const ardeko::T_Password& p) {
    QStringList lines;
    for (const ardeko::T_PwHistory& old : p.History)
        lines << ExportDateText(old.replaced) + QLatin1Char(' ') + Text(old.pw);
    return lines.join(QLatin1Char('\n'));
}

} // namespace

const QStringList& FieldCaptions() {
    static const QStringList captions = {
        QStringLiteral("Category"),    QStringLiteral("Sub Category"), QStringLiteral("User Name"),
        QStringLiteral("Password"),    QStringLiteral("Email"),        QStringLiteral("URL"),
        QStringLiteral("Expire Flag"), QStringLiteral("Exp. Date"),    QStringLiteral("Exp. URL"),
        QStringLiteral("Change Flag"), QStringLiteral("Change Date"),  QStringLiteral("Change URL"),
        QStringLiteral("TOTP"),
    };
    return captions;
}

QString FieldValue(const ardeko::clsPW& store, const ardeko::T_Password& p,
                   const QString& caption) {
    if (caption == kServiceCaption) return Text(p.service);
    if (caption == kNotesCaption) return Text(p.Descr);
    if (caption == kHistoryCaption) return HistoryText(p);
    switch (FieldCaptions().indexOf(caption)) {
    case Category:
        return CategoryText(store, p.Codcat);
    case SubCategory:
        return SubCategoryText(store, p.CodSCat);
    case User:
        return Text(p.User);
    case Password:
        return Text(p.pw);
    case Email:
        return Text(p.Email);
    case Url:
        return Text(p.URL_Access);
    case ExpireFlag:
        return Flag(p.blExpire);
    case ExpireDate:
        return ExportDateText(p.Dt_Expire);
    case ExpireUrl:
        return Text(p.URL_Delete);
    case ChangeFlag:
        return Flag(p.blChange);
    case ChangeDate:
        return ExportDateText(p.Dt_Change);
    case ChangeUrl:
        return Text(p.URL_Change);
    case Totp:
        return Text(p.Totp);
    default:
        return {};
    }
}

QString ExportDateText(double date) {
    // 0 is what the store holds for a date never set.
    if (date == 0 || !ardeko::VbDateInRange(date)) return {};
    const ardeko::VbDateTime t = ardeko::VbDateToParts(date);
    return QString::asprintf("%02d/%02d/%04d", t.day, t.month, t.year);
}

namespace {
const QRegularExpression& LineBreak() {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    return lineBreak;
}
} // namespace

QString OneLine(const QString& value) {
    // A tab or another control character would move what follows off its
    // column in a viewer, so each one takes one blank's place.
    static const QRegularExpression control(QStringLiteral("[\\x00-\\x1f\\x7f]"));
    return QString(value)
        .replace(LineBreak(), QStringLiteral(" "))
        .replace(control, QStringLiteral(" "));
}

QString ContinuedLines(const QString& value, int indent, const QString& lineBreak) {
    return value.split(LineBreak()).join(lineBreak + QString(indent, QLatin1Char(' ')));
}

} // namespace qvs
