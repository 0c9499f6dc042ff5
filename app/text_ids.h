// Text ids of what both programs share above the dialogs: commands on whole
// data files, locking, merging (the scheme is in frame/text_ids.h).
#pragma once

namespace qvs::text {

// Commands on whole data files
inline constexpr int kSaveBeforeOpenQuestion = 9001;
inline constexpr int kSaveChangesQuestion = 30003;
inline constexpr int kImportDone = 30004;
inline constexpr int kCannotOpenFile = 30005;
inline constexpr int kSaveAsTitle = 30006;
inline constexpr int kPasswordOffer = 31000;
inline constexpr int kChangedOrDamaged = 33001;
inline constexpr int kLegacyFormatFilter = 33002;
inline constexpr int kWrongPasswordOrDamaged = 36203;
inline constexpr int kAppendedBytes = 36204;
inline constexpr int kRetryPasswordQuestion = 36402;

// Locking and unlocking the open file
inline constexpr int kLockCommand = 31410;
inline constexpr int kUnlock = 31413;
inline constexpr int kWrongPassword = 31414;
// The Lock command on a file without a password (information).
inline constexpr int kNoPasswordToLock = 31415;

// Offering the new file format
inline constexpr int kNewFormatOffer = 33000;
inline constexpr int kNewFormatForTexts = 33003;
inline constexpr int kNewFormatKeptCopy = 33004;
inline constexpr int kWeakKeyQuestion = 36205;
inline constexpr int kNewFormatQuestion = 36401;

// Starting the program
inline constexpr int kHandOverFailed = 33820;

// Merging and following changes on disk
inline constexpr int kReloadedNote = 34500;
inline constexpr int kChangedOnDiskQuestion = 34501;
inline constexpr int kMergeButton = 34502;
inline constexpr int kReloadButton = 34503;
inline constexpr int kKeepMineButton = 34504;
inline constexpr int kFileVanished = 34505;
inline constexpr int kDiskPasswordChanged = 34506;
inline constexpr int kSaveAsButton = 34507;
inline constexpr int kLaterButton = 34508;
inline constexpr int kChangedBeforeSaveQuestion = 34509;
inline constexpr int kMergeSaveButton = 34510;
inline constexpr int kOverwriteButton = 34511;
inline constexpr int kMergeFailed = 34522;
inline constexpr int kConflictCopyQuestion = 36010;
inline constexpr int kMergeCopyButton = 36011;
inline constexpr int kCopyMovedNote = 36012;
inline constexpr int kCopyNotMoved = 36013;
inline constexpr int kWaitsForUnlock = 36014;

// Merge summary
inline constexpr int kMergeHeading = 34512;
inline constexpr int kMergeAdded = 34513;
inline constexpr int kMergeChanged = 34514;
inline constexpr int kMergeDeleted = 34515;
inline constexpr int kMergeCombined = 34516;
inline constexpr int kMergeKept = 34517;
inline constexpr int kMergeConflicts = 34518;
inline constexpr int kMergeNothing = 34519;
inline constexpr int kMergeNotSaved = 34520;
inline constexpr int kMergeDiffering = 36015;
inline constexpr int kMergePairedByName = 36016;
inline constexpr int kMergeCollisions = 36017;
inline constexpr int kMergeRenamedPlaces = 37200;
inline constexpr int kMergePlaceCollisions = 37201;

// Confirming a file's password
inline constexpr int kUncheckedPassword = 36200;
inline constexpr int kGivePasswordAgain = 36201;
inline constexpr int kFilePasswordsDiffer = 36202;

// Opening a file with a slow key
inline constexpr int kSlowKeyQuestion = 37400; // %1 file, %2 passes, %3 MiB, %4 the wait
inline constexpr int kSlowKeyBusy = 37401;     // %1 the wait
inline constexpr int kSlowKeySeconds = 37403;
inline constexpr int kSlowKeyMinutes = 37404;

} // namespace qvs::text
