#include "dialogs/frm_splash.h"

#include "dialogs/maker_info.h"
#include "frame/image_list.h"
#include "frame/modal_stack.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

namespace qvs {

namespace {

constexpr int kIconSize = 96;

} // namespace

frmSplash::frmSplash(int milliseconds, QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmSplash"));
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    auto* icon = new QLabel(frame);
    icon->setObjectName(QStringLiteral("picIcon"));
    icon->setPixmap(KeyIcon(QStringLiteral("QVS")).pixmap(kIconSize, kIconSize));
    icon->setAlignment(Qt::AlignCenter);
    auto* title = new QLabel(QString::fromLatin1(kProductTitle), frame);
    title->setObjectName(QStringLiteral("lblTitle"));
    title->setAlignment(Qt::AlignCenter);
    QFont font = title->font();
    font.setPointSizeF(font.pointSizeF() * 2);
    font.setBold(true);
    title->setFont(font);

    auto* inside = new QVBoxLayout(frame);
    inside->setContentsMargins(40, 32, 40, 32);
    inside->addWidget(icon);
    inside->addWidget(title);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame);

    tmrClose_.setSingleShot(true);
    tmrClose_.setInterval(milliseconds);
    connect(&tmrClose_, &QTimer::timeout, this, &QDialog::accept);
}

void frmSplash::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    tmrClose_.start(); // counts from the moment it is seen
}

void frmSplash::mousePressEvent(QMouseEvent* event) {
    (void)event;
    accept();
}

void ShowSplash(int milliseconds) {
    frmSplash splash(milliseconds);
    ExecModal(splash);
}

} // namespace qvs
