#include "frame/image_list.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace qvs {
namespace {

struct IconEntry {
    std::string_view key;
    std::string_view file;
};

// Keys as the windows use them, and the drawing each one shows. Two keys
// share a drawing only where they mean the same thing.
constexpr std::array kIcons{
    IconEntry{"QVS", "qvs"},
    IconEntry{"NEW", "new"},
    IconEntry{"OPEN", "open"},
    IconEntry{"SAVE", "save"},
    IconEntry{"PREVIEW", "preview"},
    IconEntry{"PRINT", "print"},
    IconEntry{"CUT", "cut"},
    IconEntry{"COPY", "copy"},
    IconEntry{"PASTE", "paste"},
    IconEntry{"SEARCH", "search"},
    IconEntry{"PADD", "padd"},
    IconEntry{"PEDIT", "pedit"},
    IconEntry{"PDELETE", "pdelete"},
    IconEntry{"HELP", "help"},
    IconEntry{"WHAT", "what"},
    IconEntry{"HELP_PTR", "help_ptr"},
    IconEntry{"CHECK", "check"},
    IconEntry{"MAIL", "mail"},
    IconEntry{"WEB", "web"},
    IconEntry{"WEBOPEN", "webopen"},
    IconEntry{"SASC", "sasc"},
    IconEntry{"SDESC", "sdesc"},
    IconEntry{"ASC", "asc"},
    IconEntry{"DESC", "desc"},
    IconEntry{"CAT", "cat"},
    IconEntry{"SUBCAT", "subcat"},
    IconEntry{"PW", "pw"},
    IconEntry{"CONFIG", "config"},
    IconEntry{"FAVOURITES", "favourites"},
    IconEntry{"FAVOR", "favourites"},
    IconEntry{"TOOLBAR", "toolbar"},
    IconEntry{"STATUSBAR", "statusbar"},
    IconEntry{"TREEVIEW", "treeview"},
    IconEntry{"CFOLDER", "cfolder"},
    IconEntry{"OFOLDER", "ofolder"},
    IconEntry{"CATCLOSE", "catclose"},
    IconEntry{"CATOPEN", "catopen"},
    IconEntry{"SCATCLOSE", "scatclose"},
    IconEntry{"SCATOPEN", "scatopen"},
    IconEntry{"WARNING", "warning"},
    IconEntry{"ALERT", "alert"},
    IconEntry{"CPREF", "cpref"},
    IconEntry{"OPREF", "opref"},
    IconEntry{"CWARN", "cwarn"},
    IconEntry{"OWARN", "owarn"},
    IconEntry{"CALERT", "calert"},
    IconEntry{"OALERT", "oalert"},
    IconEntry{"DRAGPW", "dragpw"},
    IconEntry{"DRAGFOLD", "dragfold"},
    IconEntry{"NODRAG", "nodrag"},
};

QString Text(std::string_view s) {
    return QString::fromLatin1(s.data(), qsizetype(s.size()));
}

const IconEntry* Find(const QString& key) {
    const QByteArray upper = key.toUpper().toLatin1();
    const std::string_view wanted(upper.constData(), size_t(upper.size()));
    const auto it = std::find_if(kIcons.begin(), kIcons.end(),
                                 [&](const IconEntry& e) { return e.key == wanted; });
    return it == kIcons.end() ? nullptr : &*it;
}

} // namespace

QString IconFile(const QString& key) {
    const IconEntry* entry = Find(key);
    return entry ? QStringLiteral(":/icons/%1.svg").arg(Text(entry->file)) : QString();
}

QStringList IconKeys() {
    QStringList keys;
    for (const IconEntry& e : kIcons)
        keys << Text(e.key);
    return keys;
}

QIcon KeyIcon(const QString& key) {
    const QString file = IconFile(key);
    return file.isEmpty() ? QIcon() : QIcon(file);
}

ImageList::ImageList(int size) : size_(size) {}

ImageList::ImageList(int size, const QStringList& keys) : size_(size) {
    for (const QString& key : keys)
        Add(key);
}

bool ImageList::Add(const QString& key) {
    if (!Find(key) || IndexOf(key) >= 0) return false;
    keys_ << key.toUpper();
    return true;
}

int ImageList::IndexOf(const QString& key) const {
    return static_cast<int>(keys_.indexOf(key.toUpper()));
}

QString ImageList::Key(int index) const {
    return index >= 0 && index < Count() ? keys_.at(index) : QString();
}

QIcon ImageList::Icon(int index) const {
    return KeyIcon(Key(index));
}

QPixmap ImageList::Pixmap(int index) const {
    const QIcon icon = Icon(index);
    return icon.isNull() ? QPixmap() : icon.pixmap(size_, size_);
}

ImageList TrayImageList() {
    return ImageList(ImageList::Small,
                     {"QVS", "NEW", "OPEN", "SAVE", "PRINT", "CHECK", "PADD", "MAIL", "WEB", "HELP",
                      "CONFIG", "CFOLDER", "CAT", "SUBCAT", "PW", "FAVOR"});
}

} // namespace qvs
