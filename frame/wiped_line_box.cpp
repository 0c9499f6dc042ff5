#include "frame/wiped_line_box.h"

#include "frame/wipe_text.h"

#include <QLineEdit>
#include <QSignalBlocker>

#include <algorithm>

namespace qvs {

LineBoxWiper::LineBoxWiper(QLineEdit* box) : QObject(box), box_(box) {
    connect(box, &QLineEdit::textChanged, this, [this] {
        Follow();
        // A replaced text is let go only after the signal (setText, undo):
        // once more when the box is done.
        if (followPending_) return;
        followPending_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                followPending_ = false;
                Follow();
            },
            Qt::QueuedConnection);
    });
    connect(box, &QLineEdit::selectionChanged, this, &LineBoxWiper::Follow);
    connect(box, &QLineEdit::cursorPositionChanged, this, &LineBoxWiper::Follow);
    Follow();
}

// The box's text went with its line control, a child made before this one:
// what is held here is held here alone.
LineBoxWiper::~LineBoxWiper() {
    for (QString& text : held_)
        WipeText(text);
}

void LineBoxWiper::Follow() {
    Hold(box_->text());
    Hold(box_->displayText());
    std::erase_if(held_, [](QString& text) {
        if (!text.isDetached()) return false;
        WipeText(text);
        return true;
    });
}

void LineBoxWiper::Hold(const QString& text) {
    // Static data (an empty text) is never freed, and holds nothing.
    if (!text.data_ptr().isMutable()) return;
    const auto same = [&](const QString& held) {
        return held.data_ptr().isSharedWith(text.data_ptr());
    };
    if (std::none_of(held_.begin(), held_.end(), same)) held_.push_back(text);
}

void WipeLineBoxCopies(QLineEdit* box) {
    new LineBoxWiper(box);
}

namespace {

void FollowBox(QLineEdit* box) {
    if (auto* wiper = box->findChild<LineBoxWiper*>(QString(), Qt::FindDirectChildrenOnly))
        wiper->Follow();
}

} // namespace

void PutLineBoxText(QLineEdit* box, const QString& text) {
    {
        const QSignalBlocker quiet(box);
        box->setText(text);
    }
    FollowBox(box);
}

QString TakeLineBoxText(QLineEdit* box) {
    QString text = box->text();
    // A copy of the caller's own: the box's buffer is shared with the wiper.
    QString taken(text.constData(), text.size());
    QString shown = box->displayText();
    {
        const QSignalBlocker quiet(box);
        box->setText(QString());
    }
    WipeText(text);
    WipeText(shown);
    FollowBox(box);
    return taken;
}

} // namespace qvs
