// The editor's window: its pages and controls, and how they are wired.
#include "dialogs/entry/frm_pw.h"

#include "dialogs/combo_list.h"
#include "dialogs/entry/code_panel.h"
#include "dialogs/entry/custom_fields_panel.h"
#include "dialogs/entry/due_date_frame.h"
#include "dialogs/entry/history_panel.h"
#include "dialogs/entry/key_chooser.h"
#include "dialogs/text_ids.h"
#include "frame/frm_calendar.h"
#include "frame/help.h"
#include "frame/language.h"
#include "frame/named_widget.h"
#include "frame/options.h"
#include "frame/selection_guard.h"
#include "frame/strength_meter.h"
#include "frame/text_ids.h"
#include "frame/wiped_line_box.h"
#include "store/entry_pack.h"
#include "store/legacy/legacy_file.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace qvs {

namespace {

// One help topic per page, in page order.
constexpr int kPageHelpTopics[] = {40, 41, 42, 43, 44, 36, 36};
constexpr char kRepeatLabel[] = "31126";

QLineEdit* Box(const char* name, QWidget* parent) {
    auto* box = Named(new QLineEdit(parent), name);
    // A line box holds 32767 characters unless told otherwise: a longer
    // stored text must not be cut short by opening the entry.
    box->setMaxLength(static_cast<int>(ardeko::kMaxTextLength) + 1);
    // The entry's texts, the password above all, must not stay behind in
    // freed memory when the user types over them.
    WipeLineBoxCopies(box);
    return box;
}

QLabel* Label(const char* textId, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(QString::fromLatin1(textId), parent);
    if (buddy) label->setBuddy(buddy);
    return label;
}

QWidget* Page(const char* textId, const char* name) {
    auto* page = Named(new QWidget, name);
    page->setProperty("tag", QString::fromLatin1(textId));
    return page;
}

QComboBox* CategoryBox(const char* name, QWidget* parent) {
    auto* box = Named(new QComboBox(parent), name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumContentsLength(24);
    // Names that differ only in letter case are different names here.
    box->completer()->setCaseSensitivity(Qt::CaseSensitive);
    return box;
}

QPushButton* Button(const char* textId, const char* name, QWidget* parent) {
    auto* button = Named(new QPushButton(QString::fromLatin1(textId), parent), name);
    button->setAutoDefault(false);
    return button;
}

const DueDateFrame::Design kExpiryDesign{
    "frexpire", "chkExpire", "txtExpDate", "chkDDExpDate", "txtDExp", "chkNExpire", "txtNExp",
    11600,      11601,       11602,        11603,          11604,     11605};
const DueDateFrame::Design kChangeDesign{
    "frchange", "chkChange", "TxtChgDate", "chkDDChgDate", "txtDChange", "chkNChange", "txtNChange",
    11700,      11701,       11702,        11703,          11704,        11705};

} // namespace

frmPW::frmPW(QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      picker_(new frmCalendar(this)) {
    setObjectName(QStringLiteral("frmPW"));
    setWindowTitle(QStringLiteral("11000"));
    setAttribute(Qt::WA_DeleteOnClose);
    BuildPages();
    BuildButtons();
    Connect();
    ApplySecurityLevel();
    LocalizeForm(this);
    // The expiry and change frames line up, whatever the language's captions.
    const int captions = std::max(expire_->CaptionWidth(), change_->CaptionWidth());
    expire_->SetCaptionWidth(captions);
    change_->SetCaptionWidth(captions);
    SetHelpTopic(this, kPageHelpTopics[0]);
}

// The entry's texts this window held go with it, overwritten.
frmPW::~frmPW() {
    ardeko::T_Password panels = TakePanels();
    for (ardeko::T_Password* entry : {&working_, &filled_, &opened_.rec, &panels})
        ardeko::WipeEntry(*entry);
    if (conflictCopy_) ardeko::WipeEntry(conflictCopy_->rec);
}

void frmPW::BuildPages() {
    sstPassword_ = Named(new QTabWidget(this), "sstPassword");
    sstPassword_->addTab(BuildGeneralPage(), QString());
    sstPassword_->addTab(BuildExtendedPage(), QString());
    sstPassword_->addTab(BuildUrlPage(), QString());
    sstPassword_->addTab(BuildExpiryPage(), QString());
    sstPassword_->addTab(BuildNotesPage(), QString());
    sstPassword_->addTab(BuildCodesPage(), QString());
    sstPassword_->addTab(BuildFieldsPage(), QString());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sstPassword_);
}

QWidget* frmPW::BuildGeneralPage() {
    QWidget* page = Page("11050", "General");
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(BuildCategoryFrame(page));
    layout->addWidget(BuildEntryFrame(page));
    layout->addStretch();
    return page;
}

QWidget* frmPW::BuildCategoryFrame(QWidget* page) {
    auto* frame = new QGroupBox(QStringLiteral("11200"), page);
    cboCateg_ = CategoryBox("cboCateg", frame);
    cmdAddCat_ = Button("11203", "cmdAddCat", frame);
    cboSCateg_ = CategoryBox("cboSCateg", frame);
    cmdAddSubCat_ = Button("11204", "cmdAddSubCat", frame);
    auto* grid = new QGridLayout(frame);
    grid->addWidget(Label("11201", cboCateg_, frame), 0, 0);
    grid->addWidget(cboCateg_, 0, 1);
    grid->addWidget(cmdAddCat_, 0, 2);
    grid->addWidget(Label("11202", cboSCateg_, frame), 1, 0);
    grid->addWidget(cboSCateg_, 1, 1);
    grid->addWidget(cmdAddSubCat_, 1, 2);
    grid->setColumnStretch(1, 1);
    return frame;
}

QWidget* frmPW::BuildEntryFrame(QWidget* page) {
    auto* frame = new QGroupBox(QStringLiteral("11100"), page);
    txtService_ = Box("txtService", frame);
    txtName_ = Box("txtName", frame);
    txtPw_ = Box("txtPw", frame);
    KeepOutOfSelection(txtPw_);
    cmdGenerate_ = Named(new QToolButton(frame), "cmdGenerate");
    cmdGenerate_->setText(QString::number(text::kGenerate));
    cmdGenerate_->setToolTip(QString::number(text::kGeneratorCaption));
    txtPW2_ = Box("txtPW2", frame);
    strength_ = Named(new StrengthMeter(frame), "Strength");
    txtEmail_ = Box("txtEmail", frame);
    chkFav_ = Named(new QCheckBox(QStringLiteral("11104"), frame), "chkFav");
    lblInsert_ = Named(new QLabel(frame), "lblInsert");
    lblModif_ = Named(new QLabel(frame), "lblModif");

    auto* pwRow = new QHBoxLayout;
    pwRow->addWidget(txtPw_);
    pwRow->addWidget(cmdGenerate_);
    auto* form = new QFormLayout(frame);
    form->addRow(Label("11101", txtService_, frame), txtService_);
    form->addRow(Label("11102", txtName_, frame), txtName_);
    form->addRow(Label("11103", txtPw_, frame), pwRow);
    lblPW2_ = Label(kRepeatLabel, txtPW2_, frame);
    form->addRow(lblPW2_, txtPW2_);
    form->addRow(QString(), strength_);
    form->addRow(Label("11105", txtEmail_, frame), txtEmail_);
    form->addRow(QString(), chkFav_);
    auto* times = new QHBoxLayout;
    times->addWidget(lblInsert_);
    times->addStretch();
    times->addWidget(lblModif_);
    form->addRow(times);
    return frame;
}

QWidget* frmPW::BuildExtendedPage() {
    QWidget* page = Page("11051", "Extended");
    auto* reminder = new QGroupBox(QStringLiteral("11300"), page);
    txtSentence_ = Box("txtSentence", reminder);
    auto* reminderForm = new QFormLayout(reminder);
    reminderForm->addRow(Label("11301", txtSentence_, reminder), txtSentence_);

    auto* keys = new QGroupBox(QStringLiteral("11400"), page);
    before_ = new KeyChooser("cbBefore", "txtbefore", keys);
    after_ = new KeyChooser("cbAfter", "txtAfter", keys);
    auto* keyForm = new QFormLayout(keys);
    keyForm->addRow(Label("11401", before_->Combo(), keys), before_);
    keyForm->addRow(Label("11402", after_->Combo(), keys), after_);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(reminder);
    layout->addWidget(keys);
    layout->addStretch();
    return page;
}

QWidget* frmPW::BuildUrlPage() {
    QWidget* page = Page("11052", "URL");
    auto* grid = new QGridLayout(page);
    static const char* const labels[] = {"11501", "11502", "11503"};
    for (int i = 0; i < 3; ++i) {
        txtURL_[i] = Box("txtURL", page);
        txtURL_[i]->setMinimumWidth(txtURL_[i]->fontMetrics().averageCharWidth() * 48);
        txtURL_[i]->setProperty("index", i);
        auto* go = Button("11504", "cmdGO", page);
        go->setProperty("index", i);
        connect(go, &QPushButton::clicked, this, [this, i] { OpenAddress(i); });
        grid->addWidget(Label(labels[i], txtURL_[i], page), i, 0);
        grid->addWidget(txtURL_[i], i, 1);
        grid->addWidget(go, i, 2);
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(3, 1);
    return page;
}

QWidget* frmPW::BuildExpiryPage() {
    QWidget* page = Page("11053", "Expiration");
    expire_ = new DueDateFrame(kExpiryDesign, picker_, page);
    change_ = new DueDateFrame(kChangeDesign, picker_, page);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(expire_);
    layout->addWidget(change_);
    layout->addStretch();
    return page;
}

QWidget* frmPW::BuildNotesPage() {
    QWidget* page = Page("11054", "NOTES");
    txtNotes_ = Named(new QPlainTextEdit(page), "txtNotes");
    txtNotes_->setTabChangesFocus(true);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(txtNotes_);
    return page;
}

QWidget* frmPW::BuildCodesPage() {
    QWidget* page = Page("35107", "CODES");
    codes_ = new CodePanel(page);
    history_ = new HistoryPanel(page);
    lblFormat_ = Named(new QLabel(QStringLiteral("35120"), page), "lblFormat");
    lblFormat_->setWordWrap(true);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(lblFormat_);
    layout->addWidget(codes_);
    layout->addWidget(history_, 1);
    return page;
}

QWidget* frmPW::BuildFieldsPage() {
    QWidget* page = Page("36850", "FIELDS");
    fields_ = new CustomFieldsPanel(page);
    lblFieldsFormat_ = Named(new QLabel(QStringLiteral("36860"), page), "lblFieldsFormat");
    lblFieldsFormat_->setWordWrap(true);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(lblFieldsFormat_);
    layout->addWidget(fields_, 1);
    return page;
}

void frmPW::BuildButtons() {
    cmdAnother_ = Button("11001", "cmdAnother", this);
    cmdOK_ = Button("10", "cmdOK", this);
    cmdCancel_ = Button("11", "cmdCancel", this);
    cmdOK_->setDefault(true);
    auto* row = new QHBoxLayout;
    row->addWidget(cmdAnother_);
    row->addStretch();
    row->addWidget(cmdOK_);
    row->addWidget(cmdCancel_);
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
}

void frmPW::Connect() {
    connect(cmdOK_, &QPushButton::clicked, this, &frmPW::accept);
    connect(cmdCancel_, &QPushButton::clicked, this, &frmPW::reject);
    connect(cmdAnother_, &QPushButton::clicked, this, &frmPW::Another);
    connect(cmdAddCat_, &QPushButton::clicked, this, &frmPW::AddCategory);
    connect(cmdAddSubCat_, &QPushButton::clicked, this, &frmPW::AddSubCategory);
    connect(cmdGenerate_, &QToolButton::clicked, this, &frmPW::OpenGenerator);
    connect(txtPw_, &QLineEdit::textChanged, strength_, &StrengthMeter::SetPassword);
    connect(sstPassword_, &QTabWidget::currentChanged, this, &frmPW::OnPageChanged);
    connect(history_, &HistoryPanel::restoreRequested, this, &frmPW::RestorePassword);

    connect(cboCateg_, &QComboBox::activated, this, [this] {
        if (loading_) return;
        cmdAddCat_->setEnabled(false);
        cmdAddSubCat_->setEnabled(false);
        FillSubCategories();
    });
    connect(cboCateg_->lineEdit(), &QLineEdit::textEdited, this,
            [this] { cmdAddCat_->setEnabled(true); });
    cboCateg_->installEventFilter(this);
    connect(cboSCateg_, &QComboBox::activated, this, [this] {
        if (!loading_) cmdAddSubCat_->setEnabled(false);
    });
    connect(cboSCateg_->lineEdit(), &QLineEdit::textEdited, this,
            [this] { cmdAddSubCat_->setEnabled(true); });
}

// Leaving the category box lists the subcategories of what it names now.
bool frmPW::eventFilter(QObject* watched, QEvent* event) {
    if (watched != cboCateg_ || event->type() != QEvent::FocusOut || loading_)
        return QDialog::eventFilter(watched, event);
    // Only the user moving on counts: not its own list opening, nor a
    // message box of this window taking the focus for a while.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
        const QString sub = cboSCateg_->currentText();
        const bool typed = MatchingItem(cboSCateg_) < 0;
        FillSubCategories();
        // Keep a subcategory name the user typed, or chose when the category
        // has it too.
        const int index = cboSCateg_->findText(sub);
        if (typed)
            cboSCateg_->setEditText(sub);
        else if (index >= 0)
            cboSCateg_->setCurrentIndex(index);
    }
    return QDialog::eventFilter(watched, event);
}

void frmPW::ApplySecurityLevel() {
    const bool hidden = Opt().SecurityLevel >= 1;
    txtPw_->setEchoMode(hidden ? QLineEdit::Password : QLineEdit::Normal);
    txtPW2_->setEchoMode(QLineEdit::Password);
    txtPW2_->setVisible(hidden);
    lblPW2_->setVisible(hidden);
}

void frmPW::OnPageChanged(int page) {
    if (page >= 0 && page < int(std::size(kPageHelpTopics)))
        SetHelpTopic(this, kPageHelpTopics[page]);
    QWidget* first[] = {cboCateg_, txtSentence_,  txtURL_[0],      expire_->Check(),
                        txtNotes_, codes_->Box(), fields_->Table()};
    if (page >= 0 && page < int(std::size(first)) && isVisible()) first[page]->setFocus();
}

} // namespace qvs
