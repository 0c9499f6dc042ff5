// Every code the store sets in ErrNum, in one place. Callers, the messages
// above the store and other programs' scripts tell failures apart by these
// numbers, so each keeps its value; the low ones are the classic runtime's.
#pragma once

namespace ardeko {

enum class StoreError : int {
    None = 0,
    // The collections and the runtime's own.
    InvalidCall = 5, // missing key, or a call that does not fit the state
    Overflow = 6,    // a code or counter ran out
    OutOfMemory = 7,
    BadFileName = 52, // also: the file has no name yet
    DeviceIo = 57,
    DiskFull = 61,
    PermissionDenied = 70, // also: the file is locked
    PathFileAccess = 75,
    PathNotFound = 76,
    DuplicateKey = 457,
    // The data file.
    BadFile = 50001,     // bad version or wrong password
    DamagedFile = 50002, // data ends early (a warning)
    NotFound = 50003,
    UnstorableText = 50004,
    TooLarge = 50005,
    // The password is right, but the contents are not what was saved under it.
    ChangedFile = 50006,
    // Saving in the legacy format needs the file password itself, which a
    // format-2 file does not keep once its key is made.
    PasswordNeeded = 50007,
    // A file opened with a password it cannot check (a legacy file without
    // our trailer) is saved only once the password was given again and
    // matched.
    PasswordUnchecked = 50020,
    // That second password differed: the first may have been a typo that
    // opened the file with garbled texts.
    PasswordsDiffer = 50021,
    // Warnings of a file that loaded: bytes after the trailer were ignored;
    // the key's settings are below what a new key gets.
    AppendedBytes = 50022,
    WeakKdf = 50023,
    // A breached-password list.
    ListUnreadable = 50050, // cannot be opened or read
    NotHashList = 50051,    // lines are not HASH:COUNT
    ListNotSorted = 50052,  // not in hash order
    // The file's key settings are beyond what is opened without asking,
    // though within what earlier versions let a user choose: it opens after
    // a long wait, once the user agrees (SlowKdfSettings, DeriveKeyOfFile).
    SlowKdf = 50070,
    // A store read for a listing (without its secrets) was to be saved or
    // merged.
    ListingOnly = 50080,
};

// The number ErrNum reports.
constexpr int Code(StoreError e) {
    return static_cast<int>(e);
}

constexpr bool operator==(int num, StoreError e) {
    return num == Code(e);
}

} // namespace ardeko
