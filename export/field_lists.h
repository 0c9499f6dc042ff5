// The two field lists of the export dialog: the fields offered and the ones
// chosen, in order, with the moves between them.
#pragma once

#include <QObject>
#include <QStringList>

#include <string>

class QListWidget;

namespace qvs {

class FieldLists : public QObject {
    Q_OBJECT
public:
    // Shows a field's name in the user's language.
    using Label = QString (*)(const std::string& field);
    // Fills all with every field (shown by label); selected starts empty.
    FieldLists(QListWidget* all, QListWidget* selected, const QStringList& fields, Label label);

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
    void Append(QListWidget* list, const QString& field);

    QListWidget* all_;
    QListWidget* selected_;
    QStringList fields_; // the offered order
    Label label_;
};

} // namespace qvs
