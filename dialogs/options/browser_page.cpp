#include "dialogs/options/browser_page.h"

#include "dialogs/options/browser_manifests.h"
#include "dialogs/options/option_bindings.h"
#include "dialogs/text_ids.h"
#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/named_widget.h"
#include "frame/program_identity.h"
#include "frame/program_state.h"
#include "frame/vb_date_qt.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qvs {

namespace {

// The stored connection's key, kept in the row: names may repeat after a merge.
constexpr int kKeyRole = Qt::UserRole;

std::function<void()>& Observer() {
    static std::function<void()> observer;
    return observer;
}

QVBoxLayout* Group(int textId, QWidget* page, const char* name) {
    auto* group = Named(new QGroupBox(QString::number(textId), page), name);
    page->layout()->addWidget(group);
    return new QVBoxLayout(group);
}

QStringList Keys(const QString& stored) {
    return stored.split(u' ', Qt::SkipEmptyParts);
}

QString Text(int textId) {
    return GetLocalText(textId);
}

// Another program's manifest names its program as it likes: shown as one
// line of reasonable length, in the order it is written (no line breaks, no
// direction marks that would make it read as another name).
QString Shown(QString program) {
    constexpr int kMaxShown = 300;
    for (QChar& c : program)
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format) c = u'?';
    if (program.size() > kMaxShown) program = program.left(kMaxShown - 1) + QChar(0x2026);
    return program;
}

} // namespace

BrowserOptionsPage::BrowserOptionsPage(QWidget* page, OptionBindings& bindings)
    : QObject(page), proxyPath_(InstalledProxyPath()) {
    BuildBrowsers(page, bindings);
    BuildAnswers(page, bindings);
    BuildConnections(page);
    FillConnections();
}

void BrowserOptionsPage::BuildBrowsers(QWidget* page, OptionBindings& bindings) {
    QVBoxLayout* column = Group(text::kBrowserGroup, page, "grpBrowsers");
    note_ = Named(new QLabel(QString::number(text::kBrowserExtensionNote)), "lblExtension");
    note_->setWordWrap(true);
    column->addWidget(note_);
    for (const NativeBrowser& browser : NativeBrowsers()) {
        // Browsers' own names, never translated; "&&" keeps the label literal.
        auto* box = new QCheckBox(
            QString::fromUtf8(browser.label).replace(QStringLiteral("&"), QStringLiteral("&&")));
        box->setObjectName(QStringLiteral("chkBrowser_") + QLatin1String(browser.key));
        column->addWidget(box);
        browsers_.push_back(box);
        // Asked when the user ticks it, before anything is written.
        connect(box, &QCheckBox::clicked, this, [this, box, &browser](bool checked) {
            if (checked && !AgreeToSetAside(browser)) box->setChecked(false);
        });
    }
    bindings.Custom(
        [this](const Options& o) {
            const QStringList on = Keys(o.BrowserHosts);
            for (size_t i = 0; i < browsers_.size(); ++i)
                browsers_[i]->setChecked(on.contains(QLatin1String(NativeBrowsers()[i].key)));
        },
        [this](Options& o) {
            QStringList on;
            for (size_t i = 0; i < browsers_.size(); ++i)
                if (browsers_[i]->isChecked()) on << QLatin1String(NativeBrowsers()[i].key);
            o.BrowserHosts = on.join(u' ');
        });
}

void BrowserOptionsPage::BuildAnswers(QWidget* page, OptionBindings& bindings) {
    QVBoxLayout* column = Group(text::kBrowserAnswersGroup, page, "grpBrowserAnswers");
    const std::tuple<const char*, int, bool Options::*> checks[] = {
        {"chkUnlockOnRequest", text::kBrowserUnlockOnRequest, &Options::BrowserUnlockOnRequest},
        {"chkNeverExpired", text::kBrowserNeverExpired, &Options::BrowserNeverExpired},
    };
    for (const auto& [name, textId, setting] : checks) {
        auto* box = Named(new QCheckBox(QString::number(textId)), name);
        column->addWidget(box);
        bindings.Check(box, setting);
    }
}

void BrowserOptionsPage::BuildConnections(QWidget* page) {
    QVBoxLayout* column = Group(text::kBrowserConnectionsGroup, page, "grpConnections");
    connections_ = Named(new QTreeWidget, "grdConnections");
    connections_->setColumnCount(2);
    // Headers are no widget captions: the window's localising leaves them alone.
    connections_->setHeaderLabels(
        {Text(text::kBrowserConnectionName), Text(text::kBrowserConnectionLastUsed)});
    connections_->setRootIsDecorated(false);
    connections_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    connections_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    connections_->setMinimumHeight(connections_->fontMetrics().height() * 6);
    column->addWidget(connections_);
    remove_ = Named(new QPushButton(QString::number(text::kBrowserConnectionRemove)),
                    "cmdRemoveConnection");
    remove_->setAutoDefault(false);
    column->addWidget(remove_, 0, Qt::AlignRight);
    connect(remove_, &QPushButton::clicked, this, &BrowserOptionsPage::RemoveConnection);
    connect(connections_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* row) { remove_->setEnabled(row != nullptr); });
}

// The tabs do not pass a wrapped text's height on to the window's size, so
// the note claims the height it needs at a width it is sure to have.
void BrowserOptionsPage::FitNote() {
    constexpr int kNoteWidth = 520;
    note_->setMinimumWidth(kNoteWidth);
    note_->setMinimumHeight(note_->heightForWidth(kNoteWidth));
}

void BrowserOptionsPage::FillConnections() {
    connections_->clear();
    for (const ardeko::T_BrowserLink& link : Store().BrowserLinks()) {
        const QString used = link.lastUsed != 0 ? DateTimeText(link.lastUsed) : QString();
        auto* row = new QTreeWidgetItem(connections_, {QString::fromStdString(link.name), used});
        row->setData(0, kKeyRole, QString::fromStdString(link.key));
    }
    remove_->setEnabled(connections_->currentItem() != nullptr);
}

// The browser of a removed connection must be connected again; the file
// is changed as by any edit, and saved as such.
void BrowserOptionsPage::RemoveConnection() {
    const QTreeWidgetItem* row = connections_->currentItem();
    if (!row) return;
    const QString question =
        Text(text::kBrowserConnectionRemoveAsk).replace(QLatin1String("%s"), row->text(0));
    if (ShowMessage(question, vbYesNo | vbQuestion, ProgramName()) != vbYes) return;
    if (!Store().RemoveBrowserLink(row->data(0, kKeyRole).toString().toStdString())) return;
    FillConnections();
}

// A browser whose manifest is another program's: the user hears which file,
// which program, and that it is kept beside ours and put back, and decides.
bool BrowserOptionsPage::AgreeToSetAside(const NativeBrowser& browser) {
    if (CurrentManifest(browser) != ManifestState::Foreign) return true;
    const QString label = QString::fromUtf8(browser.label);
    const QString file = QDir::toNativeSeparators(ManifestPath(browser));
    const QString kept = SetAsidePath(browser).mid(ManifestPath(browser).size());
    const QString program = Shown(ManifestProgram(browser));
    const QString question = program.isEmpty()
                                 ? Text(text::kBrowserForeignUnnamedAsk).arg(label, file, kept)
                                 : Text(text::kBrowserForeignAsk).arg(label, file, program, kept);
    if (ShowMessage(question, vbYesNo | vbQuestion, ProgramName()) != vbYes) return false;
    agreed_ << QLatin1String(browser.key);
    return true;
}

void BrowserOptionsPage::ApplyManifests(Options& options) {
    QStringList on = Keys(options.BrowserHosts);
    QStringList setAside;
    QStringList failed;
    for (const NativeBrowser& browser : NativeBrowsers()) {
        const QString label = QString::fromUtf8(browser.label);
        const bool wanted = on.contains(QLatin1String(browser.key));
        const ManifestChange change = wanted ? TurnOn(browser, proxyPath_) : TurnOff(browser);
        if (change.foreignSetAside && !agreed_.contains(QLatin1String(browser.key)))
            setAside << label;
        if (change.ok) continue;
        failed << label;
        if (wanted) on.removeAll(QLatin1String(browser.key));
    }
    options.BrowserHosts = on.join(u' ');
    agreed_.clear();
    if (!setAside.isEmpty())
        ShowMessage(Text(text::kBrowserForeignSetAside)
                        .replace(QLatin1String("%s"), setAside.join(QStringLiteral(", "))),
                    vbInformation, ProgramName());
    if (!failed.isEmpty())
        ShowMessage(Text(text::kBrowserManifestFailed)
                        .replace(QLatin1String("%s"), failed.join(QStringLiteral(", "))),
                    vbExclamation, ProgramName());
}

void SetBrowserConnectionObserver(std::function<void()> observer) {
    Observer() = std::move(observer);
}

void NotifyBrowserConnectionChanged() {
    if (Observer()) Observer()();
}

} // namespace qvs
