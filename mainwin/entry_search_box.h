// The search box above the entry grid (txtSearch): hidden until a search
// begins, with a note when nothing is found and a button that ends the
// search. What the text finds is the search's business (entry_search.h).
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QToolButton;

namespace qvs {

class EntrySearchBox : public QWidget {
    Q_OBJECT
public:
    explicit EntrySearchBox(QWidget* parent = nullptr);

    // Shows the box with the focus in it and its text selected, so typing
    // replaces an earlier search.
    void Open();
    // Hides and empties the box without reporting the emptied text.
    void Close();
    bool IsOpen() const { return !isHidden(); }
    QString Text() const;
    void ShowNothingFound(bool nothingFound);

    QLineEdit* txtSearch() const { return txtSearch_; }
    QLabel* lblNothingFound() const { return lblNothingFound_; }
    QToolButton* cmdClose() const { return cmdClose_; }

signals:
    void textChanged(const QString& text);
    // Enter or the Down key in the box: the user goes on to the results.
    void resultsRequested();
    void closeRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* txtSearch_;
    QLabel* lblNothingFound_;
    QToolButton* cmdClose_;
};

} // namespace qvs
