// Text ids of the language tables (resources/lang/ENG, ITA) by name. Each id is
// declared once, in the text_ids.h of the lowest layer that uses it, grouped
// by what shows it; where texts are reached as a first id plus an index, the
// first one says so. These are the ids the frame and the layers above share.
#pragma once

namespace qvs::text {

// Buttons of the message box and of every dialog
inline constexpr int kOk = 10;
inline constexpr int kCancel = 11;
inline constexpr int kAbort = 12;
inline constexpr int kNo = 13;
inline constexpr int kYes = 14;
inline constexpr int kRetry = 15;
inline constexpr int kIgnore = 16;

// Captions of the entry editor's fields, also named in refusals and conflicts
inline constexpr int kDescriptionCaption = 11054;
inline constexpr int kServiceCaption = 11101;
inline constexpr int kUserCaption = 11102;
inline constexpr int kPasswordCaption = 11103;
inline constexpr int kEmailCaption = 11105;
inline constexpr int kCategoryCaption = 11201;
inline constexpr int kSubCategoryCaption = 11202;
inline constexpr int kHintCaption = 11301;
inline constexpr int kAccessUrlCaption = 11501;
inline constexpr int kChangeUrlCaption = 11502;
inline constexpr int kDeleteUrlCaption = 11503;

// Web addresses
inline constexpr int kNoWebAddress = 30001;
inline constexpr int kCannotOpenAddress = 32103;
inline constexpr int kNotWebAddress = 33840;

// Why the store refused a change
inline constexpr int kUnstorableCharacter = 31100;
inline constexpr int kUnstorableSecretCharacter = 31101;
inline constexpr int kFieldTooLong = 31102;
inline constexpr int kNameInUse = 33504;
inline constexpr int kNoFreeCode = 33505;
inline constexpr int kEntryLead = 35300;
inline constexpr int kCategoryLead = 35301;
inline constexpr int kSubCategoryLead = 35302;
inline constexpr int kTreeNodeLead = 35303;
inline constexpr int kFilePasswordUnstorable = 35304;
inline constexpr int kFilePasswordTooLong = 35305;
inline constexpr int kCodeUnstorable = 35306;
inline constexpr int kHistoryUnstorable = 35307;
inline constexpr int kExtraFieldsUnstorable = 36800;
inline constexpr int kSitesUnstorable = 38500;

// Password generator
// Also the tip of the entry editor's Generate button.
inline constexpr int kGeneratorCaption = 31106;
inline constexpr int kNoCharacterKind = 31118;

// Password strength
inline constexpr int kFirstStrengthLevel = 31119; // "very weak" .. "very strong", one per level
inline constexpr int kStrengthBits = 33830;

// One-time codes
// TotpError::Empty, then one per TotpError in enum order.
inline constexpr int kFirstCodeSecretError = 35121;
inline constexpr int kNoOneTimeCode = 35132;

} // namespace qvs::text
