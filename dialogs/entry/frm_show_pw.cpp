#include "dialogs/entry/frm_show_pw.h"

#include "autotype/secret_clipboard.h"
#include "dialogs/entry/code_display.h"
#include "dialogs/entry/extra_field_rows.h"
#include "frame/language.h"
#include "frame/lock_request.h"
#include "frame/window_placement.h"
#include "store/pw.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDrag>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>

#include <initializer_list>
#include <memory>

namespace qvs {

namespace {

const QString kPlacementName = QStringLiteral("frmShowPW");
constexpr int kMaskedLevel = 2;

QLineEdit* MakeBox(const char* name, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(true);
    box->setMinimumWidth(180);
    return box;
}

QPushButton* MakeCopyButton(const char* name, QWidget* parent) {
    auto* button = new QPushButton(QStringLiteral("12003"), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

void AddRow(QGridLayout* grid, int row, const char* labelName, const char* textId, QLineEdit* box,
            QPushButton* button) {
    auto* label = new QLabel(QString::fromLatin1(textId), grid->parentWidget());
    label->setObjectName(QString::fromLatin1(labelName));
    label->setBuddy(box);
    grid->addWidget(label, row, 0);
    grid->addWidget(box, row, 1);
    grid->addWidget(button, row, 2);
}

} // namespace

frmShowPW::frmShowPW(int securityLevel, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), txtUser_(MakeBox("txtUser", this)),
      txtPW_(MakeBox("txtPW", this)), cmdCPUser_(MakeCopyButton("cmdCPUser", this)),
      CMDCPPW_(MakeCopyButton("CMDCPPW", this)),
      codeLabel_(new QLabel(QStringLiteral("35111"), this)), code_(new CodeDisplay(this, "12003")) {
    auto* grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    AddRow(grid, 0, "Label1", "12001", txtUser_, cmdCPUser_);
    AddRow(grid, 1, "Label2", "12002", txtPW_, CMDCPPW_);
    codeLabel_->setObjectName(QStringLiteral("Label3"));
    auto* codeRow = new QHBoxLayout;
    codeRow->addWidget(code_->Code());
    codeRow->addWidget(code_->Left());
    codeRow->addStretch();
    grid->addWidget(codeLabel_, 2, 0);
    grid->addLayout(codeRow, 2, 1);
    grid->addWidget(code_->CopyButton(), 2, 2);
    fields_ = new ExtraFieldRows(grid, this);
    connect(cmdCPUser_, &QPushButton::clicked, this,
            [this] { CopySecretToClipboard(txtUser_->text()); });
    connect(CMDCPPW_, &QPushButton::clicked, this,
            [this] { CopySecretToClipboard(txtPW_->text()); });
    for (QLineEdit* box : {txtUser_, txtPW_})
        box->installEventFilter(this);
    SetSecurityLevel(securityLevel);
    // The window shows a password: it is locked away as the main window is.
    AddLockShortcut(*this);
    LocalizeForm(this);
}

void frmShowPW::SetSecurityLevel(int securityLevel) {
    txtPW_->setEchoMode(securityLevel == kMaskedLevel ? QLineEdit::Password : QLineEdit::Normal);
}

bool frmShowPW::ShowPW(const ardeko::clsPW& store, const QString& service) {
    const ardeko::T_Password* entry = store.Password().Find(service.toStdString());
    if (!entry) return false;
    setWindowTitle(QString::fromStdString(entry->service));
    txtUser_->setText(QString::fromStdString(entry->User));
    txtPW_->setText(QString::fromStdString(entry->pw));
    code_->SetStored(entry->Totp);
    ShowCodeRow(!entry->Totp.empty());
    fields_->SetFields(entry->Fields);
    if (!stackEntry_) stackEntry_.emplace(this);
    RestoreWindowPlacement(this, kPlacementName);
    show();
    raise();
    activateWindow();
    return true;
}

bool frmShowPW::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtUser_ || watched == txtPW_)
        return OnBoxMouse(static_cast<QLineEdit*>(watched), event);
    return QWidget::eventFilter(watched, event);
}

void frmShowPW::closeEvent(QCloseEvent* event) {
    SaveWindowPlacement(this, kPlacementName);
    stackEntry_.reset();
    code_->SetStored({}); // the secrets go with the window
    fields_->Clear();
    QWidget::closeEvent(event);
}

// A press selects the whole box (and nothing in the other one); moving on
// with the button held drags that text out.
bool frmShowPW::OnBoxMouse(QLineEdit* box, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton) return false;
        (box == txtUser_ ? txtPW_ : txtUser_)->deselect();
        box->selectAll();
        box->setFocus(Qt::MouseFocusReason);
        dragBox_ = box;
        dragStart_ = mouse->position().toPoint();
        return true;
    }
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool far = (mouse->position().toPoint() - dragStart_).manhattanLength() >=
                         QApplication::startDragDistance();
        if (dragBox_ != box || !(mouse->buttons() & Qt::LeftButton) || !far) return true;
        dragBox_ = nullptr;
        StartDrag(box);
        return true;
    }
    case QEvent::MouseButtonRelease:
        dragBox_ = nullptr;
        return true;
    default:
        return false;
    }
}

void frmShowPW::ShowCodeRow(bool shown) {
    const std::initializer_list<QWidget*> parts{codeLabel_, code_->Code(), code_->Left(),
                                                code_->CopyButton()};
    for (QWidget* part : parts)
        part->setVisible(shown);
}

void frmShowPW::StartDrag(QLineEdit* box) {
    auto data = std::make_unique<QMimeData>();
    data->setText(box->text());
    auto* drag = new QDrag(this); // Qt deletes it when the drag is over
    drag->setMimeData(data.release());
    drag->exec(Qt::CopyAction);
}

frmShowPW* OpenShowPW(const ardeko::clsPW& store, const QString& service, int securityLevel,
                      QWidget* parent) {
    auto window = std::make_unique<frmShowPW>(securityLevel, parent);
    window->setAttribute(Qt::WA_DeleteOnClose); // once shown, it owns itself
    if (!window->ShowPW(store, service)) return nullptr;
    return window.release();
}

} // namespace qvs
