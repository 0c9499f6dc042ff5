// Filling the windows' category and subcategory lists.
#include "store/pw.h"

namespace ardeko {

namespace {

void AddWithData(IListControl& list, const std::string& text, std::int32_t data) {
    list.AddItem(text);
    list.SetItemData(list.NewIndex(), data);
}

// Empties the list and puts the default text, if any, first with data 0.
void StartList(IListControl& list, const std::string& def) {
    list.Clear();
    if (!def.empty()) AddWithData(list, def, 0);
}

void SelectFirst(IListControl& list) {
    if (list.ListCount() > 0) list.SetListIndex(0);
}

} // namespace

void clsPW::ControlCat(IListControl& cntrl, const std::string& def) const {
    StartList(cntrl, def);
    for (const T_Categ& c : category_)
        AddWithData(cntrl, c.DescrCat, c.Codcat);
    SelectFirst(cntrl);
}

void clsPW::ControlSCat(IListControl& cntrl, std::int16_t Codcat, const std::string& def) const {
    StartList(cntrl, def);
    for (const T_SCateg& s : subCategory_)
        if (s.Codcat == Codcat) AddWithData(cntrl, s.DescrSCat, s.CodSCat);
    SelectFirst(cntrl);
}

} // namespace ardeko
