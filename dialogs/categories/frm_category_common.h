// What the category, subcategory and category-choice windows share: a list
// widget the store can fill, the questions and refusals they show, and the
// way they are shown.
#pragma once

#include "store/list_control.h"

#include <QString>

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>

class QDialog;
class QLineEdit;
class QListWidget;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace qvs {

// Lets the store fill a list widget with names (item data = code).
class ListWidgetControl : public ardeko::IListControl {
public:
    explicit ListWidgetControl(QListWidget* list) : list_(list) {}
    void Clear() override;
    void AddItem(const std::string& text) override;
    int NewIndex() const override;
    void SetItemData(int index, std::int32_t value) override;
    int ListCount() const override;
    void SetListIndex(int index) override;

private:
    QListWidget* list_;
};

// A push button captioned by text number, named for tests and help.
QPushButton* CategoryButton(const char* name, int textId, QWidget* parent);

// The windows' button column: the commands at the top, OK at the bottom.
// None of them is pressed by Enter: that adds the name typed, and elsewhere
// it presses nothing by surprise.
QVBoxLayout* ButtonColumn(std::initializer_list<QPushButton*> commands, QPushButton* ok);

// The name typed in box without blanks at either end, as the store keeps it.
std::string TypedName(const QLineEdit* box);
// The text of the list's current item; "" when none is selected.
std::string SelectedName(const QListWidget* list);

// Asks what becomes of the entries of something about to be deleted: the two
// texts on two lines, "%n" replaced by entries. True: keep them (Yes); false:
// delete them (No); none: give up (Cancel, Escape, close box).
std::optional<bool> AskKeepEntries(int firstText, int secondText, int entries);

// The store refused a change: the window's text, in the error style, with the
// store's own reason under it when it recorded one.
void ShowRefusal(int textId, const QString& storeReason = QString());

// A command that needs a selected item and a typed name lacks one of them.
void ShowMissingInput();

// Shows dialog modally on the window stack at its remembered place (saved
// again when it closes). When changed answers true afterwards the main window
// rebuilds its view.
int ExecCategoryWindow(QDialog& dialog, const QString& placementName,
                       const std::function<bool()>& changed);

} // namespace qvs
