// A line box that leaves no unwiped copy of its text behind. Qt's line box
// frees the buffers of its text without overwriting them: the text itself
// each time an edit replaces it, and the copy it lays out for display (a new
// one at every change of text or selection). Typing over a password would
// leave the old one in freed memory.
#pragma once

#include <QObject>
#include <QString>

#include <vector>

class QLineEdit;

namespace qvs {

// Holds a share of every buffer the box uses for its text, so that the box
// never frees one; once the box has let a buffer go, it is wiped here. A
// child of the box, made after it, so that it goes after the box's own
// text at the end.
class LineBoxWiper : public QObject {
    Q_OBJECT
public:
    explicit LineBoxWiper(QLineEdit* box);
    ~LineBoxWiper() override;

    // Takes a share of the box's current buffers and wipes those only this
    // holds now. Runs on every change the box reports.
    void Follow();

private:
    void Hold(const QString& text);

    QLineEdit* box_;
    std::vector<QString> held_;
    bool followPending_ = false;
};

// Gives box a LineBoxWiper.
void WipeLineBoxCopies(QLineEdit* box);

// Sets the box's text without its signals; the caller wipes text.
void PutLineBoxText(QLineEdit* box, const QString& text);

// The box's text, with the box left empty and every copy it held wiped.
// Without its signals; the caller wipes the result.
QString TakeLineBoxText(QLineEdit* box);

} // namespace qvs
