// The window in which the user picks the data file to work on: a kind of new
// file ("New" page, optional), an existing file from the file-open panel
// ("Open") or a recently used file ("Recent"). ChooseDataFile builds it,
// fills it, shows it and reads the result.
#pragma once

#include "frame/image_list.h"
#include "frame/modal_stack.h"

#include <QDateTime>
#include <QDialog>
#include <QStringList>

#include <vector>

class QFileDialog;
class QPushButton;
class QTabWidget;
class QTreeWidget;

namespace qvs {

class frmLoadSave : public QDialog {
    Q_OBJECT
public:
    // Page keys, in strip order.
    static constexpr char kNewPage[] = "NEW";
    static constexpr char kOpenPage[] = "LOAD";
    static constexpr char kRecentPage[] = "RECENT";

    explicit frmLoadSave(QWidget* parent = DialogOwner());

    // Whether the New page and its buttons exist; set before ShowModal.
    bool ShowNew() const { return showNew_; }
    void SetShowNew(bool showNew) { showNew_ = showNew; }

    // The lists' contents, shown in the order added.
    void AddNewType(const QString& text, const QString& iconKey);
    void AddExistItem(const QString& fileName, const QString& folder, const QDateTime& modified,
                      const QString& iconKey);
    void SetNewImageList(const ImageList& icons) { newIcons_ = icons; }
    void SetExistingImageList(const ImageList& icons) { existingIcons_ = icons; }
    // Where the file-open panel starts.
    void SetStartFolder(const QString& folder) { startFolder_ = folder; }

    // Loads the window and shows it through the modal stack until closed;
    // once per window.
    void ShowModal();

    // True while the New page is the current page.
    bool IsNew() const { return isNew_; }
    // True unless the user confirmed a choice.
    bool Cancelled() const { return cancelled_; }
    // The kind of new file on the New page; the chosen file's full path on
    // the other pages.
    QString Filename() const { return filename_; }
    QString CurrentPageKey() const { return currentKey_; }

private:
    struct NewType {
        QString text;
        QString iconKey;
    };
    struct ExistItem {
        QString fileName;
        QString folder;
        QDateTime modified; // kept with the item, not shown
        QString iconKey;
    };

    void Load();
    void AddPage(QWidget* page, const char* key, int textId);
    QWidget* BuildNewPage();
    QWidget* BuildOpenPage();
    QWidget* BuildRecentPage();
    void FillNewList();
    void FillRecentList();

    void ChangePage(int index);
    void LeavePage(const QString& key);
    void EnterNewPage();
    void EnterOpenPage();
    void EnterRecentPage();

    void OnNewSelection();
    void OnNewOpen();
    void OnRecentSelection();
    void OnRecentConfirm();
    void OnPanelSelected(const QString& path);
    void Confirm(const QString& filename);

    QString SelectedNewText() const;
    QString SelectedRecentPath() const;
    QString PanelFileNameText() const;
    void SetPanelFileNameText(const QString& text);

    bool showNew_ = false;
    bool isNew_ = false;
    bool cancelled_ = true;
    QString filename_;
    QString currentKey_;
    QString savedFileNameText_; // the Open page's file-name box while away
    QString startFolder_;
    std::vector<NewType> newTypes_;
    std::vector<ExistItem> existItems_;
    ImageList newIcons_{ImageList::Large};
    ImageList existingIcons_{ImageList::Small};
    QStringList pageKeys_;

    QTabWidget* tabStrip_ = nullptr;
    QTreeWidget* grdNew_ = nullptr;
    QTreeWidget* grdRecent_ = nullptr;
    QPushButton* cmdNewOpen_ = nullptr;
    QPushButton* CmdNewCancel_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    QFileDialog* cD_ = nullptr;
};

} // namespace qvs
