// One store record as a JSON object: every field under its own name, texts as
// UTF-8 strings, 16-bit integers and dates as numbers, flags as booleans.
#pragma once

#include <QJsonObject>
#include <optional>
#include <string>

namespace qvs {

// Defined for T_Categ, T_SCateg, T_Password and T_Node.
// Replaces r with the record o describes; fields o leaves out keep the
// record type's defaults. Returns why o is not a valid record, if it is not.
template <class R> std::optional<std::string> RecordFromJson(const QJsonObject& o, R& r);

} // namespace qvs
