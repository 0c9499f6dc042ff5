// Text ids of the dialogs (the scheme is in frame/text_ids.h).
#pragma once

namespace qvs::text {

// Category windows
inline constexpr int kCategoryMissingInput = 1;
inline constexpr int kCategoryNameLabel = 32000;
inline constexpr int kCategoryChoiceLabel = 32001;

// Entry editor: filling the window
inline constexpr int kNoCategoryItem = 37;
inline constexpr int kEntryCreated = 11008;
inline constexpr int kEntryModified = 11009;

// Entry editor: saving
inline constexpr int kCategoryMessageTitle = 40;
inline constexpr int kCategoryExists = 11002;
inline constexpr int kAddCategoryQuestion = 11003;
inline constexpr int kAddCategoryTitle = 11004;
inline constexpr int kSubCategoryExists = 11005;
inline constexpr int kAddSubCategoryQuestion = 11006;
inline constexpr int kAddSubCategoryTitle = 11007;
inline constexpr int kUnknownCategory = 11010;
inline constexpr int kUnknownSubCategory = 11011;
inline constexpr int kNoServiceName = 11012;
inline constexpr int kEntryPasswordsDiffer = 11013;
inline constexpr int kNoKeyCharacter = 31103;
inline constexpr int kDiscardEntryQuestion = 31104;
inline constexpr int kFieldWithoutName = 36861;
inline constexpr int kFieldNameTwice = 36862;

// Categories window
inline constexpr int kCategoriesCaption = 3000;
inline constexpr int kCategoryAdd = 3001;
inline constexpr int kCategoryDelete = 3002;
inline constexpr int kCategoryRename = 3003;
inline constexpr int kCategoryAddRefused = 3005;
inline constexpr int kCategoryEntries = 3006;
inline constexpr int kCategoryKeepEntries = 3007;
inline constexpr int kCategoryDeleteRefused = 3008;
inline constexpr int kCategoryRenameRefused = 3009;
inline constexpr int kCategoryOneEntry = 33502;

// Choosing another category
inline constexpr int kChangeCategoryCaption = 4000;

// Password expiry window
inline constexpr int kExpiryCaption = 5000;
inline constexpr int kExpiryEdit = 5001;
inline constexpr int kExpiredOn = 5002;
inline constexpr int kDaysToExpiry = 5003;
inline constexpr int kChangeDueSince = 5004;
inline constexpr int kDaysToChange = 5005;
inline constexpr int kNothingDue = 5006;
inline constexpr int kExpirySelectFirst = 5007;
inline constexpr int kDayToExpiry = 33500; // one day ahead
inline constexpr int kDayToChange = 33501;

// File password window
inline constexpr int kNewPasswordEmpty = 7006;
inline constexpr int kNewPasswordSet = 7007;
inline constexpr int kPasswordChangedLine = 7008;
inline constexpr int kNewPasswordsDiffer = 7050;
inline constexpr int kOldPasswordRefused = 7051;
inline constexpr int kStrongerKey = 33005;
inline constexpr int kStrongerKeyFailed = 33006;
inline constexpr int kFilePasswordFile = 36400;
inline constexpr int kOpenTime = 36403;
inline constexpr int kMeasuringOpenTime = 36404;
inline constexpr int kMakingSlowerKey = 36405;

// Choosing a data file
inline constexpr int kLoadSaveCaption = 8000;
inline constexpr int kDataFileKind = 8001;

// Options: messages
inline constexpr int kLanguageNextStart = 10007;
inline constexpr int kWithSystemNeedsAutoLoad = 10020;
inline constexpr int kOptionsNotSaved = 31401; // the settings could not be written (error message)
// A day box holding what is not a whole number from 0 to 32,767.
inline constexpr int kBadDayCount = 31402;
// A language table that cannot be read (error message).
inline constexpr int kLanguageNotFound = 31403;

// Entry editor: extra fields
inline constexpr int kCopyField = 12003;
inline constexpr int kFieldNameColumn = 36852;
inline constexpr int kFieldValueColumn = 36853;
inline constexpr int kFieldProtectedColumn = 36854;
inline constexpr int kShowField = 36857;
inline constexpr int kHideField = 36858;

// Subcategories window
inline constexpr int kSubCategoriesCaption = 14000;
inline constexpr int kSubCategoryAdd = 14001;
inline constexpr int kSubCategoryDelete = 14002;
inline constexpr int kSubCategoryRename = 14003;
inline constexpr int kSubCategoryMove = 14004;
inline constexpr int kSubCategoryAddRefused = 14005;
inline constexpr int kSubCategoryMoveRefused = 14006;
inline constexpr int kSubCategoryEntries = 14007;
inline constexpr int kSubCategoryKeepEntries = 14008;
inline constexpr int kSubCategoryDeleteRefused = 14009;
inline constexpr int kSubCategoryRenameRefused = 14010;
inline constexpr int kSubCategoryOneEntry = 33503;

// About box
inline constexpr int kAboutCaption = 20000;
inline constexpr int kAboutDescription = 20002;

// Tips window
inline constexpr int kTipsCaption = 20100;
inline constexpr int kViewTips = 20101;

// Password health window
inline constexpr int kClose = 20103;
inline constexpr int kHealthCaption = 37002;
inline constexpr int kFirstHealthIssue = 37006; // one per HealthIssue, in order
inline constexpr int kHealthSeen = 37014;
inline constexpr int kHealthGroup = 37015;
inline constexpr int kHealthOnDate = 37016;
inline constexpr int kHealthSetOn = 37017;
inline constexpr int kHealthChecked = 37018;
inline constexpr int kHealthNothingFound = 37019;
inline constexpr int kHealthNoList = 37020;
inline constexpr int kHealthList = 37021;
inline constexpr int kHealthBreachedList = 37022;
inline constexpr int kHealthEdit = 37023;
inline constexpr int kHealthChooseList = 37024;
inline constexpr int kHealthListFilter = 37025;
inline constexpr int kHealthProgress = 37026;
inline constexpr int kHealthListUnreadable = 37027;
inline constexpr int kHealthNotList = 37028;
inline constexpr int kHealthNotSorted = 37029;
inline constexpr int kHealthSelectFirst = 37030;
inline constexpr int kHealthCount = 37031;
inline constexpr int kHealthLostList = 37800;
inline constexpr int kHealthForgetList = 37801;

// Texts several dialogs share
inline constexpr int kNewFileMarker = 30002; // the new-file item of the file lists
inline constexpr int kAllFilesFilter = 34043;

// Entry editor: password and dates
inline constexpr int kGenerate = 31105;
inline constexpr int kDatePickerTip = 31125;

// Options: clearing, locking and reminders
inline constexpr int kLockGroup = 31404;
inline constexpr int kClipboardClearLabel = 31405;
inline constexpr int kLockIdleLabel = 31406;
inline constexpr int kLockWithSession = 31407;
inline constexpr int kNoSessionSignal = 31408;
inline constexpr int kNoPasswordNoLock = 31409;
inline constexpr int kRemindDue = 32306; // check box chkRemindDue

// QVSLite's options window
inline constexpr int kLiteOptionsCaption = 31420;
inline constexpr int kLiteStartupGroup = 31421;
inline constexpr int kLiteAutoStart = 31422;
inline constexpr int kLiteLastOpened = 31423;
inline constexpr int kLiteFileLabel = 31424;
inline constexpr int kLiteBrowse = 31425;

// Lists of entries
inline constexpr int kListedEntryGone = 33506;

// Importing another program's export
inline constexpr int kImportCaption = 34000;
inline constexpr int kImportFileLabel = 34004;
inline constexpr int kImportBrowse = 34005;
inline constexpr int kImportFormatLabel = 34006;
inline constexpr int kFirstImportFormat = 34007; // then one per format, in ForeignFormat order
inline constexpr int kImportDetected = 34015;
inline constexpr int kFirstImportEncoding = 34024; // then one per encoding, in TextEncoding order
inline constexpr int kImportPreview = 34037;
inline constexpr int kImportCounts = 34041;
inline constexpr int kImportButton = 34042;
inline constexpr int kImportChooseFile = 34044;
inline constexpr int kImportFilter = 34045;
inline constexpr int kCannotImport = 34046;
inline constexpr int kImportReading = 34047;
inline constexpr int kImportImporting = 34048;
inline constexpr int kImportSkippedLine = 34050;
inline constexpr int kImportRenamed = 34051;
inline constexpr int kImportLine = 34052;
inline constexpr int kImportCodesCount = 35138; // after the counts, only when there are any
// Why a file cannot be read or imported, one per ImportMsg, in order.
inline constexpr int kFirstImportProblem = 36801;
inline constexpr int kImportUnreadable = 36830;
inline constexpr int kImportFieldsCount = 36835;
inline constexpr int kImportExpiriesCount = 36836;
inline constexpr int kImportNotImported = 36837;
inline constexpr int kImportPasskeyFor = 36838;
inline constexpr int kImportPasskey = 36839;
inline constexpr int kImportCollection = 36840;
inline constexpr int kImportCollectionMembership = 36841;
inline constexpr int kImportNotImportedCount = 36842;

// Importing another program's export: text and columns
inline constexpr int kCsvColumnsTitle = 34016;
inline constexpr int kCsvCaptionsRow = 34017;
inline constexpr int kCsvDelimiterLabel = 34018;
inline constexpr int kCsvEncodingLabel = 34023;
inline constexpr int kCsvColumnNotImported = 34028;

// Entry editor: one-time codes
inline constexpr int kCodeSecondsLeft = 35113;
inline constexpr int kNoQrCode = 35128;
inline constexpr int kNotAnImage = 35129;
inline constexpr int kQrImageDialogTitle = 35130;
inline constexpr int kQrImageFilter = 35131;
inline constexpr int kCodeSecretInvalid = 35136;
inline constexpr int kNoCodeAddressInQr = 35137;

// Entry editor: earlier passwords
inline constexpr int kHistoryPasswordColumn = 35115;
inline constexpr int kHistoryReplacedColumn = 35116;

// Entry editor: changed on another machine
inline constexpr int kBothChanged = 36000;
inline constexpr int kKeepMine = 36001;
inline constexpr int kKeepBoth = 36002;
inline constexpr int kBackToEditor = 36003;
inline constexpr int kDeletedThere = 36004;
inline constexpr int kKeepEntry = 36005;
inline constexpr int kDiscardMine = 36006;
inline constexpr int kOtherDetails = 36007;

// Options, page "Browser".
inline constexpr int kBrowserPage = 38600;
inline constexpr int kBrowserGroup = 38601;
inline constexpr int kBrowserExtensionNote = 38602;
inline constexpr int kBrowserAnswersGroup = 38603;
inline constexpr int kBrowserUnlockOnRequest = 38604;
inline constexpr int kBrowserNeverExpired = 38605;
inline constexpr int kBrowserConnectionsGroup = 38606;
inline constexpr int kBrowserConnectionName = 38607;
inline constexpr int kBrowserConnectionLastUsed = 38608;
inline constexpr int kBrowserConnectionRemove = 38609;
inline constexpr int kBrowserConnectionRemoveAsk = 38610;
inline constexpr int kBrowserForeignSetAside = 38611;
inline constexpr int kBrowserManifestFailed = 38612;
inline constexpr int kBrowserForeignAsk = 38850;
inline constexpr int kBrowserForeignUnnamedAsk = 38851;

} // namespace qvs::text
