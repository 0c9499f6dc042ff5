// Text ids of export and print (the scheme is in frame/text_ids.h).
#pragma once

namespace qvs::text {

// Export and print: messages
inline constexpr int kPrinted = 6051;
inline constexpr int kExportProgress = 6057;
inline constexpr int kNoDelimiter = 31600;
inline constexpr int kFolderMissing = 31603;
inline constexpr int kNoFileName = 31604;
inline constexpr int kLayoutFailed = 31605;
inline constexpr int kNoPrinter = 31606;
inline constexpr int kPrintFailed = 31607;
inline constexpr int kPdfWritten = 31608;
inline constexpr int kPdfFailed = 31609;
inline constexpr int kExportFolderTitle = 31610;
inline constexpr int kRenamedFiles = 33800;
inline constexpr int kNothingToExport = 33801;
inline constexpr int kNoFolder = 33802;

// Export and print window
inline constexpr int kClearTextWarning = 31601;
inline constexpr int kPdfButton = 31602;
inline constexpr int kCsvSafe = 33850;
inline constexpr int kExportHistory = 35134;

// Export field names
inline constexpr int kExportServiceField = 36600; // then the store's field captions in their order
inline constexpr int kExportNotesField = 36614;
inline constexpr int kExportHistoryField = 36615;
inline constexpr int kExportCustomFields = 36616;

} // namespace qvs::text
