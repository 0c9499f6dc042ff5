// The two field lists of the export dialog: the fields offered and the ones
// chosen, in order, with the moves between them.
#pragma once

#include <QObject>
#include <QStringList>

class QListWidget;

namespace qvs {

class FieldLists : public QObject {
    Q_OBJECT
public:
    // Fills all with every field; selected starts empty.
    FieldLists(QListWidget* all, QListWidget* selected, const QStringList& fields);

    // Moves the chosen fields (in their order) to selected. Unknown or
    // repeated names are ignored.
    void Choose(const QStringList& chosen);

    QStringList Chosen() const;

    void MoveRight();    // the highlighted field to the end of the chosen ones
    void MoveAllRight(); // every field left, in list order
    void MoveLeft();     // the highlighted chosen field back, in its offered place
    void MoveAllLeft();
    void MoveUp();
    void MoveDown();

private:
    void MoveRightAt(int row);
    void MoveLeftAt(int row);
    void MoveBack(int row);
    void Shift(int by);

    QListWidget* all_;
    QListWidget* selected_;
    QStringList fields_; // the offered order
};

} // namespace qvs
