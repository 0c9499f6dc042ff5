#include "tray/no_tray_text.h"

#include "frame/language.h"
#include "tray/text_ids.h"

namespace qvs {

bool IsGnomeDesktop(const QString& currentDesktop) {
    const QStringList names = currentDesktop.split(u':', Qt::SkipEmptyParts);
    return names.contains(QStringLiteral("GNOME"), Qt::CaseInsensitive);
}

QString NoTrayText(int textId) {
    QString text = GetLocalText(textId);
    if (IsGnomeDesktop(qEnvironmentVariable("XDG_CURRENT_DESKTOP")))
        text += QStringLiteral("\n\n") + GetLocalText(text::kGnomeTrayExtension);
    return text;
}

} // namespace qvs
