#include "dialogs/frm_about.h"

#include "dialogs/maker_info.h"
#include "dialogs/text_ids.h"
#include "frame/image_list.h"
#include "frame/language.h"
#include "frame/text_ids.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qvs {

namespace {

constexpr int kIconSize = 64;

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QLabel* MakeLink(QWidget* parent, const char* name, const char* url, const QString& caption) {
    const QString html =
        QStringLiteral("<a href=\"%1\">%2</a>")
            .arg(QString::fromLatin1(url).toHtmlEscaped(), caption.toHtmlEscaped());
    QLabel* link = MakeLabel(parent, name, html);
    link->setTextFormat(Qt::RichText);
    link->setOpenExternalLinks(true);
    return link;
}

QLabel* MakeTitle(QWidget* parent) {
    QLabel* title = MakeLabel(parent, "lblTitle", QString::fromLatin1(kProductTitle));
    QFont font = title->font();
    font.setPointSizeF(font.pointSizeF() * 1.6);
    font.setBold(true);
    title->setFont(font);
    return title;
}

} // namespace

frmAbout::frmAbout(const QString& versionText, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(GetLocalText(text::kAboutCaption));
    auto* icon = MakeLabel(this, "picIcon", QString());
    icon->setPixmap(KeyIcon(QStringLiteral("QVS")).pixmap(kIconSize, kIconSize));
    icon->setAlignment(Qt::AlignTop);

    auto* text = new QVBoxLayout;
    text->addWidget(MakeTitle(this));
    text->addWidget(MakeLabel(this, "lblVersion", versionText));
    text->addWidget(MakeLabel(this, "lblDescription", GetLocalText(text::kAboutDescription)));
    text->addSpacing(8);
    text->addWidget(MakeLink(this, "lblMaker", kMakerUrl, QString::fromLatin1(kMakerName)));
    text->addWidget(MakeLink(this, "lblHomepage", kProductUrl, QString::fromLatin1(kProductUrl)));

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addLayout(text, 1);
    auto* cmdOK = new QPushButton(GetLocalText(text::kOk), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(top);
    layout->addWidget(cmdOK, 0, Qt::AlignRight);
}

void ShowAbout(const QString& versionText) {
    frmAbout about(versionText);
    ExecModal(about);
}

} // namespace qvs
