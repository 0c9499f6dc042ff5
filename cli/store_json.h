// A store filled from one JSON object of the shape qvs-cli dump writes.
#pragma once

#include <QJsonObject>
#include <optional>
#include <string>

namespace ardeko {
class clsPW;
}

namespace qvs {

// Adds every record of doc to store through the store's insert helpers.
// "version", "seed" and "encrypted" are the file's own business and ignored;
// a missing list is empty. Returns the first problem, naming record and field.
std::optional<std::string> FillStoreFromJson(const QJsonObject& doc, ardeko::clsPW& store);

} // namespace qvs
