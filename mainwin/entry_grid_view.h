// The table of the entry grid (grdpw): whole rows selected (several with
// Ctrl and Shift, to drag them onto the tree together), no editing in place,
// the grid's own keys reported as signals, and rows that can grow to show
// every line of their notes.
#pragma once

#include <QTableView>

namespace qvs {

class EntryGridModel;

class EntryGridView : public QTableView {
    Q_OBJECT
public:
    explicit EntryGridView(EntryGridModel* model, QWidget* parent = nullptr);

    // On: a row whose notes have several lines is as tall as they need.
    // Off: every row is one line high.
    void SetTallNotes(bool on);
    bool TallNotes() const { return tallNotes_; }
    int OneLineHeight() const;
    int LineSpacing() const { return lineSpacing_; }

signals:
    void enterPressed();
    void editKeyPressed();   // F4
    void deleteKeyPressed(); // Delete

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;

private:
    // Heights come from the line counts the model took at the fill: measuring
    // the text of every row of a large file would cost far more than the
    // refill itself. Only rows of the wrong height are touched.
    void FitRowHeights();

    EntryGridModel* model_;
    bool tallNotes_ = false;
    bool customHeights_ = false; // some row may be taller than one line
    int lineSpacing_ = 0;
};

} // namespace qvs
