#include "frame/store_reason.h"

#include "frame/language.h"
#include "store/keyed_collection.h"
#include "store/pw.h"

namespace qvs {

namespace {

constexpr int kNameInUseText = 33504;
constexpr int kNoFreeCodeText = 33505;

} // namespace

QString StoreReason(const ardeko::clsPW& store) {
    switch (store.ErrNum()) {
    case ardeko::kErrDuplicateKey:
        return GetLocalText(kNameInUseText);
    case ardeko::kErrOverflow:
        return GetLocalText(kNoFreeCodeText);
    default:
        return QString::fromStdString(store.ErrDescr());
    }
}

} // namespace qvs
