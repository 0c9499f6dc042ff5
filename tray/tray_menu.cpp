#include "tray/tray_menu.h"

#include "frame/keyed_menu.h"
#include "frame/language.h"
#include "frame/lock_request.h"
#include "tray/tray_commands.h"

namespace qvs {

namespace {

using T = TrayCommand;

// A name from the data file, shown as it stands.
QString Caption(const std::string& name) {
    return NameCaption(QString::fromStdString(name));
}

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

class Builder {
public:
    Builder(KeyedMenu& menu, const std::optional<ImageList>& images, const TrayEntryLook& entries)
        : menu_(menu), images_(images), entries_(entries) {}

    int Add(const QString& caption, const QString& key, const char* icon = nullptr, int parent = 0,
            bool enabled = true, bool isDefault = false, const QString& toolTip = {}) {
        const int iconIndex = images_ && icon ? images_->IndexOf(QLatin1String(icon)) : -1;
        return menu_.Add(MenuItem(caption, key)
                             .Under(parent)
                             .WithIcon(iconIndex)
                             .Enabled(enabled)
                             .AsDefault(isDefault)
                             .WithToolTip(toolTip));
    }
    // A command's item, captioned by its text unless caption is given.
    int Command(T command, int parent = 0, bool isDefault = false, const QString& caption = {}) {
        const TrayCommandRow& row = TrayRow(command);
        return Add(caption.isEmpty() ? GetLocalText(row.textId) : caption, TrayKey(command),
                   row.icon, parent, true, isDefault);
    }
    void Separator() { menu_.Add(MenuItem(QStringLiteral("-"), QString())); }
    void Lock() {
        menu_.Add(MenuItem(GetLocalText(TrayRow(T::Lock).textId), TrayKey(T::Lock))
                      .WithShortcut(LockKey()));
    }
    void Entry(const ardeko::T_Password& entry, int parent) {
        Add(Caption(entry.service), QLatin1String(kEntryKeyPrefix) + Text(entry.service), "PW",
            parent, entries_.enabled, false, entries_.toolTip);
    }
    void Enable(int index) {
        if (index > 0) menu_.SetEnabled(index, true);
    }
    int IndexOf(const QString& key) const { return menu_.IndexOf(key); }

private:
    KeyedMenu& menu_;
    const std::optional<ImageList>& images_;
    const TrayEntryLook& entries_;
};

QString CatKey(std::int16_t code) {
    return QStringLiteral("cat%1").arg(code);
}
QString SubCatKey(std::int16_t code) {
    return QStringLiteral("scat%1").arg(code);
}

// Categories stay disabled until an entry lands under them. An entry whose
// subcategory has no item goes under its category; one whose category is
// gone as well goes to the top level, so that no entry is unreachable.
void AddCategories(Builder& b, const ardeko::clsPW& store) {
    for (const ardeko::T_Categ& cat : store.Category()) {
        const int catItem = b.Add(Caption(cat.DescrCat), CatKey(cat.Codcat), "CFOLDER", 0, false);
        for (const ardeko::T_SCateg& sub : store.SubCategory())
            if (sub.Codcat == cat.Codcat)
                b.Add(Caption(sub.DescrSCat), SubCatKey(sub.CodSCat), "CFOLDER", catItem, false);
    }
    for (const ardeko::T_Password& entry : store.Password()) {
        const int subItem = entry.CodSCat ? b.IndexOf(SubCatKey(entry.CodSCat)) : 0;
        const int catItem = b.IndexOf(CatKey(entry.Codcat));
        b.Entry(entry, subItem > 0 ? subItem : catItem);
        b.Enable(subItem);
        b.Enable(catItem);
    }
}

void AddFavourites(Builder& b, const ardeko::clsPW& store, int show) {
    int parent = 0;
    if (show == 0) {
        if (store.Password().Empty()) return;
        b.Separator();
        parent = b.Command(T::Favourites);
    }
    for (const ardeko::T_Password& entry : store.Password())
        if (entry.Favourites) b.Entry(entry, parent);
}

void AddCommands(Builder& b, const TrayMenuOptions& o) {
    const bool addIsDefault = o.defaultCmd == 2;
    if (o.fileOpen && o.fullProgram) {
        const int add = b.Command(T::Add);
        for (T command : {T::AddEntry, T::AddCategory, T::AddSubCategory})
            b.Command(command, add, addIsDefault);
    }
    b.Command(T::Open, 0, o.defaultCmd == 1);
    b.Command(T::Options);
    if (!o.fullProgram) b.Command(T::Load);
    b.Separator();
    b.Command(T::Mail);
    b.Command(T::Home);
    b.Command(T::VersionCheck);
    if (o.fullProgram) b.Command(T::Forum);
    b.Command(T::About);
    b.Separator();
    // Beside Exit, as a desktop's session menu has them.
    if (o.fileOpen) b.Lock();
    b.Command(T::Close);
}

} // namespace

void BuildTrayMenu(KeyedMenu& menu, const ardeko::clsPW& store, const TrayMenuOptions& options,
                   const std::optional<ImageList>& images, const TrayEntryLook& entries,
                   const QString& reopenCaption) {
    menu.Clear();
    menu.SetImageList(images);
    Builder b(menu, images, entries);
    if (!reopenCaption.isEmpty()) {
        b.Command(T::Reopen, 0, false, reopenCaption);
        b.Separator();
    }
    if (options.show == 0 || options.show == 1) AddCategories(b, store);
    if (options.show == 0 || options.show == 2) AddFavourites(b, store, options.show);
    if (!store.Password().Empty() && (options.show == 1 || store.FavouriteNumber() > 0))
        b.Separator();
    AddCommands(b, options);
}

void BuildLockedTrayMenu(KeyedMenu& menu) {
    menu.Clear();
    const auto item = [](T command) {
        return MenuItem(GetLocalText(TrayRow(command).textId), TrayKey(command));
    };
    menu.Add(item(T::Unlock).AsDefault());
    menu.Add(MenuItem(QStringLiteral("-"), QString()));
    menu.Add(item(T::Close));
}

QString ServiceOfKey(const QString& key) {
    const QLatin1String prefix(kEntryKeyPrefix);
    return key.startsWith(prefix) ? key.mid(prefix.size()) : QString();
}

} // namespace qvs
