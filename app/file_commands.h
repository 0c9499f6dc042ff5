// The commands on whole data files: open, save, save as, new, import, the
// save question and the recent-file command. They are the only code that
// replaces the store or loads a file into it, and they end by asking the
// current main window to refresh.
#pragma once

#include <QString>

namespace qvs {

// Opens path with password ("" asks for one when the file has a password).
bool OpenDataFile(const QString& path, const QString& password);
// Asks question when there are unsaved changes (or saves at once with
// autoSave); false when the user cancelled. A save that fails or is cancelled
// asks again: the changes go only when the user answers No.
bool SaveChangesPrompt(const QString& question, bool autoSave);
// Saves the store; asks for a name when saveAs or the file was never saved.
// A failure is shown to the user; the changes stay unsaved.
bool SaveDataFile(bool saveAs);
void NewDataFile();
void OpenWithDialog(bool showNew);
// Adds the categories of another file; true when all of them were added.
bool ImportDataFile();
// Adds what another password program exported, through its dialog; true when
// entries were added.
bool ImportFromOtherProgram();
// The recent-files menu: open path after the save question.
void OpenRecentFile(const QString& path);
bool FileAccessible(const QString& path);
// The name a never-saved file carries: the language's text, or the store's
// own marker should a table translate it.
bool IsNewFileMarker(const QString& name);

} // namespace qvs
