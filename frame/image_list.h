// Icons of the menus, toolbar, tree, grid, tray menu and open dialog,
// addressed by the keys those windows use ("PADD", "CATOPEN", "QVS" ...).
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QStringList>

namespace qvs {

// The resource path of the icon for key (in any letter case), for example
// ":/icons/padd.svg" for "PADD"; empty when no icon has that key.
QString IconFile(const QString& key);

// Every key that has an icon, in upper case.
QStringList IconKeys();

// The icon for key; a null icon when no icon has that key.
QIcon KeyIcon(const QString& key);

// An ordered set of icons of one size (16 or 32 pixels). Items are reached
// by key or by 0-based index; -1 stands for "no icon".
class ImageList {
public:
    static constexpr int Small = 16;
    static constexpr int Large = 32;

    explicit ImageList(int size = Small);
    // Adds keys in order, skipping those without an icon.
    ImageList(int size, const QStringList& keys);

    int IconSize() const { return size_; }
    int Count() const { return static_cast<int>(keys_.size()); }

    // False, adding nothing, when the key has no icon or is already listed.
    bool Add(const QString& key);
    void Clear() { keys_.clear(); }

    // -1 when the key is not in the list.
    int IndexOf(const QString& key) const;
    // Empty when index is out of range.
    QString Key(int index) const;

    // Null icons and pixmaps for keys not in the list and bad indexes.
    QIcon Icon(int index) const;
    QIcon Icon(const QString& key) const { return Icon(IndexOf(key)); }
    QPixmap Pixmap(int index) const;
    QPixmap Pixmap(const QString& key) const { return Pixmap(IndexOf(key)); }

private:
    int size_;
    QStringList keys_;
};

// The tray menu's icons, in the order whose indexes the tray menu uses.
ImageList TrayImageList();

} // namespace qvs
