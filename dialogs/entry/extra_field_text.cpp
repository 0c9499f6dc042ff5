#include "dialogs/entry/extra_field_text.h"

namespace qvs {

bool IsOneLine(const std::string& value) {
    return value.find_first_of("\r\n") == std::string::npos;
}

QString ExtraFieldText(const ardeko::T_CustomField& field, bool shown) {
    if (field.protect && !shown) return field.value.empty() ? QString() : QString(8, QChar(0x25CF));
    const QString value = QString::fromStdString(field.value);
    return IsOneLine(field.value) ? value
                                  : QString(value).replace(QLatin1Char('\n'), QChar(0x23CE));
}

} // namespace qvs
