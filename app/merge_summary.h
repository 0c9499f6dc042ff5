// What a merge brought in, told to the user in a few lines.
#pragma once

#include "store/merge/merge.h"

#include <QString>

namespace qvs {

// from: the other version's file name.
QString MergeSummaryText(const ardeko::MergeSummary& summary, const QString& from);

} // namespace qvs
