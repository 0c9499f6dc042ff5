#include "mainwin/status_bar.h"

#include "frame/language.h"
#include "mainwin/node_counts.h"
#include "mainwin/text_ids.h"

#include <QLabel>

namespace qvs {

namespace {

// Short texts with "%n" for the number, by field.
constexpr int kFieldTexts[] = {30110, 30111, 30112, 30113, 30114};
constexpr int kFieldGap = 6; // pixels on each side of a field

} // namespace

MainStatusBar::MainStatusBar(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("sbstatusbar"));
    for (size_t f = 0; f < fields_.size(); ++f) {
        fields_[f] = new QLabel(this);
        fields_[f]->setObjectName(QStringLiteral("sbField%1").arg(f));
        // The counters would otherwise run together into one line of text.
        fields_[f]->setContentsMargins(kFieldGap, 0, kFieldGap, 0);
        // The entries shown take the free room; the counters sit at the right.
        if (f == Shown)
            addWidget(fields_[f], 1);
        else
            addPermanentWidget(fields_[f]);
    }
    ShowNoFile();
}

void MainStatusBar::SetField(Field field, int number) {
    QString text = GetLocalText(kFieldTexts[field]);
    fields_[field]->setText(text.replace(QLatin1String("%n"), QString::number(number)));
    fields_[field]->setVisible(true);
}

void MainStatusBar::ShowShown(int entries) {
    SetField(Shown, entries);
}

void MainStatusBar::ShowCounts(const NodeCounts& counts) {
    SetField(Expired, counts.expired);
    SetField(Expiring, counts.expiring);
    SetField(ChangeDue, counts.changeDue);
    SetField(ChangeSoon, counts.changeSoon);
}

void MainStatusBar::ShowNoFile() {
    for (QLabel* field : fields_) {
        field->clear();
        field->setVisible(false);
    }
    fields_[Shown]->setText(GetLocalText(text::kNoFileOpen));
    fields_[Shown]->setVisible(true);
}

QStringList MainStatusBar::Texts() const {
    QStringList texts;
    for (const QLabel* field : fields_)
        texts << field->text();
    return texts;
}

} // namespace qvs
