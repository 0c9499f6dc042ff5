// The editor: saving an entry that may have changed under the window. The
// window stays open while the file is reloaded or merged with another
// machine's version, so OK puts only the user's changes on top of the entry
// as it is now; a field both changed, or an entry the other machine
// deleted, is asked about.
#include "dialogs/entry/frm_pw.h"

#include "dialogs/combo_list.h"
#include "dialogs/text_ids.h"
#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/options.h"
#include "frame/program_state.h"
#include "frame/store_reason.h"
#include "frame/text_ids.h"
#include "store/entry_id.h"
#include "store/merge/merge.h"

#include <QComboBox>

#include <map>

namespace qvs {

namespace {

// Window captions of the fields a user usually changes.
const std::map<ardeko::Field, int>& FieldCaptions() {
    using ardeko::Field;
    static const std::map<Field, int> captions{{Field::Service, text::kServiceCaption},
                                               {Field::User, text::kUserCaption},
                                               {Field::Password, text::kPasswordCaption},
                                               {Field::Email, text::kEmailCaption},
                                               {Field::Hint, text::kHintCaption},
                                               {Field::AccessUrl, text::kAccessUrlCaption},
                                               {Field::ChangeUrl, text::kChangeUrlCaption},
                                               {Field::DeleteUrl, text::kDeleteUrlCaption},
                                               {Field::Description, text::kDescriptionCaption},
                                               {Field::CategoryName, text::kCategoryCaption}};
    return captions;
}

QString FieldList(const std::vector<ardeko::Field>& fields) {
    QStringList names;
    bool other = false;
    for (const ardeko::Field field : fields) {
        const auto it = FieldCaptions().find(field);
        if (it == FieldCaptions().end())
            other = true;
        else
            names << FieldName(GetLocalText(it->second));
    }
    if (other) names << GetLocalText(text::kOtherDetails);
    return names.join(QStringLiteral(", "));
}

ardeko::PlacedEntry Placed(const ardeko::T_Password& r) {
    const ardeko::clsPW& store = Store();
    return {r, store.CatValue(r.Codcat), r.CodSCat ? store.SubCatValue(r.CodSCat) : std::string()};
}

// The codes of the store now for where placed is filed, making a category
// or subcategory the other version has no longer.
bool FileByName(ardeko::PlacedEntry& placed) {
    ardeko::clsPW& store = Store();
    placed.rec.Codcat = placed.rec.CodSCat = 0;
    if (placed.cat.empty()) return true;
    if (!store.CatExist(placed.cat) && !store.CatAdd(placed.cat)) return false;
    placed.rec.Codcat = store.Category().Find(placed.cat)->Codcat;
    if (placed.sub.empty()) return true;
    const std::string key = ardeko::SubCategoryKey(placed.rec.Codcat, placed.sub);
    if (!store.SubCategory().Contains(key) && !store.SubCatAdd(placed.rec.Codcat, placed.sub))
        return false;
    placed.rec.CodSCat = store.SubCategory().Find(key)->CodSCat;
    return true;
}

} // namespace

const ardeko::T_Password* frmPW::EntryNow() const {
    if (working_.Id.empty()) return Store().Password().Find(formerService_);
    for (const ardeko::T_Password& p : Store().Password())
        if (p.Id == working_.Id) return &p;
    return nullptr;
}

void frmPW::RefillCategoryBoxes() {
    const QString category = cboCateg_->currentText();
    const QString subcategory = cboSCateg_->currentText();
    FillCategories();
    SetCategoryTexts(category, subcategory);
}

frmPW::Fit frmPW::FitToStore(ardeko::T_Password& record) {
    conflictCopy_.reset();
    const ardeko::T_Password* now = EntryNow();
    if (!now) {
        const int answer =
            ShowChoice(LocalTextWith(text::kDeletedThere, QString::fromStdString(record.service)),
                       vbYesNoCancel | vbQuestion,
                       {GetLocalText(text::kKeepEntry), GetLocalText(text::kDiscardMine),
                        GetLocalText(text::kBackToEditor)},
                       QStringLiteral("QVS"));
        if (answer == vbNo) return Fit::Drop;
        if (answer != vbYes) return Fit::Back;
        record.Id = ardeko::NewEntryId(); // the other machine's deletion mark stays its own
        return Fit::Add;
    }
    formerService_ = now->service;
    const ardeko::RebasedEdit rebased =
        ardeko::RebaseEdit(opened_, {filled_, opened_.cat, opened_.sub}, Placed(record),
                           Placed(*now), static_cast<std::size_t>(Store().HistoryLimit()));
    if (!rebased.changedSinceOpened) return Fit::Replace;
    ardeko::PlacedEntry chosen = rebased.theirsOnClash;
    if (!rebased.clashes.empty()) {
        const int answer =
            ShowChoice(LocalTextWith(text::kBothChanged, QString::fromStdString(now->service))
                           .replace(QLatin1String("%n"), FieldList(rebased.clashes)),
                       vbYesNoCancel | vbQuestion,
                       {GetLocalText(text::kKeepMine), GetLocalText(text::kKeepBoth),
                        GetLocalText(text::kBackToEditor)},
                       QStringLiteral("QVS"));
        if (answer == vbYes)
            chosen = rebased.mineOnClash;
        else if (answer == vbNo)
            conflictCopy_ = rebased.mineOnClash;
        else
            return Fit::Back;
    }
    if (!FileByName(chosen) || (conflictCopy_ && !FileByName(*conflictCopy_))) {
        ShowMessage(StoreReason(Store()), vbOKOnly, QStringLiteral("QVS"));
        return Fit::Back;
    }
    record = chosen.rec;
    return Fit::Replace;
}

// Kept as a merge keeps the losing side of a conflict: under a name of its
// own, as an entry of its own.
bool frmPW::AddConflictCopy(double now) {
    if (!conflictCopy_) return true;
    ardeko::T_Password copy = conflictCopy_->rec;
    conflictCopy_.reset();
    copy.service = ardeko::ConflictName(copy.service, now);
    copy.Id = ardeko::NewEntryId();
    copy.Dt_Modif = now;
    if (Store().PWAdd(copy)) return true;
    ShowMessage(StoreReason(Store()), vbOKOnly, QStringLiteral("QVS"));
    return false;
}

} // namespace qvs
