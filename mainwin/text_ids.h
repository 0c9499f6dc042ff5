// Text ids of the main window; QVS's window switching uses some of them too
// (the scheme is in frame/text_ids.h).
#pragma once

namespace qvs::text {

// Fixed folders of the category tree
inline constexpr int kTreeFavourites = 30;
inline constexpr int kTreeExpiring = 31;
inline constexpr int kTreeExpired = 32;
inline constexpr int kTreeChangeSoon = 33;
inline constexpr int kTreeChangeDue = 34;
inline constexpr int kTreeNoCategory = 35;
inline constexpr int kTreeNoSubCategory = 36;

// Main window menus
inline constexpr int kAddFavourite = 440;
inline constexpr int kRemoveFavourite = 441;
inline constexpr int kNoEntrySelected = 9005;
inline constexpr int kDeleteEntryQuestion = 30007;
inline constexpr int kAddCategoryFirst = 30008;
inline constexpr int kExpiryState = 31003;
inline constexpr int kChangeState = 31004;
inline constexpr int kImportForeign = 34001;
inline constexpr int kImportDataFile = 34002;
inline constexpr int kImportMenu = 34003;
inline constexpr int kMergeCommand = 34521;

// Leaving the program
inline constexpr int kExitSaveQuestion = 9002;
inline constexpr int kExitQuestion = 9003;

// Category tree commands
inline constexpr int kDeleteCategoryQuestion = 9006;
inline constexpr int kDeleteSubCategoryQuestion = 9007;
inline constexpr int kKeepEntriesQuestion = 9008;
inline constexpr int kTreeRenamePrompt = 9011;
inline constexpr int kTreeRenameTitle = 9012;
inline constexpr int kTreeRenameRefused = 9013;
inline constexpr int kTreeAddPrompt = 9016;
inline constexpr int kTreeAddTitle = 9017;
inline constexpr int kTreeAddRefused = 9018;
inline constexpr int kMoveCategoryTitle = 9020;
inline constexpr int kMoveSubCategoryTitle = 9021;
inline constexpr int kMoveEntriesQuestion = 9023;
inline constexpr int kTreeMoveRefused = 9024;
inline constexpr int kDeleteCategoryRefused = 31001;
inline constexpr int kDeleteSubCategoryRefused = 31002;
inline constexpr int kHasSubCategories = 32100;
inline constexpr int kSubCategoryNameUsed = 32101;

// Status bar
inline constexpr int kNoFileOpen = 30101;

// Locked window
inline constexpr int kFileLocked = 31411;
inline constexpr int kUnlockPasswordLabel = 31412;

// Search box
inline constexpr int kSearchResultsNode = 32200; // the tree node of the results
inline constexpr int kSearchLabel = 32201;
inline constexpr int kSearchPlaceholder = 32202;
inline constexpr int kSearchNothingFound = 32203;
inline constexpr int kSearchCloseTip = 32204;

} // namespace qvs::text
