// A whole store as one JSON object: the file's version text, seed and
// enciphered flag, then one array per record list in collection order.
#pragma once

#include <QJsonObject>
#include <optional>
#include <string>

namespace ardeko {
class clsPW;
}

namespace qvs {

QJsonObject StoreToJson(const ardeko::clsPW& store);

// Adds every record of doc to store through the store's insert helpers.
// "version", "seed" and "encrypted" are the file's own business and ignored;
// a missing list is empty. Returns the first problem, naming record and field.
std::optional<std::string> FillStoreFromJson(const QJsonObject& doc, ardeko::clsPW& store);

} // namespace qvs
