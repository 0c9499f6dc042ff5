// Why the store refused an operation, in the user's language. The store
// words its reasons in English for logs and scripts; a window shows the
// translated text of the reasons it knows.
#pragma once

#include <QString>

namespace ardeko {
class clsPW;
struct TextRefusal;
} // namespace ardeko

namespace qvs {

// The translated reason for the store's last failure; the store's own words
// for a reason without a translation, "" when it recorded none.
QString StoreReason(const ardeko::clsPW& store);

// The translated reason for one refused text (too long: the store's error
// was StoreError::TooLarge), naming the record and field.
QString RefusalText(const ardeko::TextRefusal& r, bool tooLong);

// Why a legacy file cannot hold the text of field (named as FieldName gives
// it): too long when length > 0, else it holds character, or an unnamed
// one in a secret field (character empty).
QString RefusedTextMessage(const QString& field, const QString& character, int length);

// Whether r refuses a field the older format has no place for at all (a
// one-time code, earlier passwords), rather than one of its characters or
// its length.
bool RefusesWholeField(const ardeko::TextRefusal& r);

// A window's field caption as a name within a sentence: "&User name:"
// becomes "User name".
QString FieldName(const QString& caption);

} // namespace qvs
