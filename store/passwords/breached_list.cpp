#include "store/passwords/breached_list.h"

#include "store/crypto/sodium_calls.h"

#include <nettle/sha1.h>

#include <algorithm>
#include <array>
#include <charconv>

namespace ardeko {

namespace {

constexpr std::size_t kHashDigits = 40;
// Enough for a hash, its count and the line end in one read.
constexpr std::size_t kReadChunk = 128;
// A line longer than this is no line of such a list.
constexpr std::uint64_t kLongestLine = 4096;
// Places at which Open checks the hash order.
constexpr std::uint64_t kOrderSamples = 64;

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

char Upper(char c) {
    return c >= 'a' && c <= 'f' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The hash of a line in upper case; none when the line does not start with
// one followed by ':' or its end.
std::optional<std::string> HashOf(std::string_view line) {
    if (line.size() < kHashDigits ||
        !std::all_of(line.begin(), line.begin() + kHashDigits, IsHexDigit))
        return std::nullopt;
    if (line.size() > kHashDigits && line[kHashDigits] != ':') return std::nullopt;
    std::string hash(line.substr(0, kHashDigits));
    std::transform(hash.begin(), hash.end(), hash.begin(), Upper);
    return hash;
}

// The count after "HASH:"; a line with the hash alone counts once.
std::optional<std::uint64_t> CountOf(std::string_view line) {
    if (line.size() <= kHashDigits + 1)
        return line.size() == kHashDigits ? std::optional<std::uint64_t>(1) : std::nullopt;
    const std::string_view digits = line.substr(kHashDigits + 1);
    std::uint64_t count = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), count);
    if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return count;
}

} // namespace

std::string Sha1Hex(std::string_view text) {
    sha1_ctx ctx;
    sha1_init(&ctx);
    sha1_update(&ctx, text.size(), reinterpret_cast<const std::uint8_t*>(text.data()));
    std::array<std::uint8_t, SHA1_DIGEST_SIZE> digest{};
    sha1_digest(&ctx, digest.size(), digest.data());
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex(2 * digest.size(), '0');
    for (std::size_t i = 0; i < digest.size(); ++i) {
        hex[2 * i] = kDigits[digest[i] >> 4];
        hex[2 * i + 1] = kDigits[digest[i] & 15];
    }
    // The state holds the password's bytes.
    crypto::Wipe(&ctx, sizeof ctx);
    crypto::Wipe(digest.data(), digest.size());
    return hex;
}

bool BreachedList::Fail(std::int32_t num, std::string descr) {
    errNum_ = num;
    errDescr_ = std::move(descr);
    return false;
}

std::nullopt_t BreachedList::Missing(std::int32_t num, std::string descr) {
    Fail(num, std::move(descr));
    return std::nullopt;
}

bool BreachedList::Open(const std::string& path) {
    open_ = false;
    path_ = path;
    file_ = std::make_unique<InputFile>();
    if (auto err = file_->Open(path)) return Fail(StoreError::ListUnreadable, err->descr);
    if (file_->Size() == 0)
        return Fail(StoreError::NotHashList, path + " holds no password hashes");
    open_ = true;
    if (!CheckOrder()) {
        open_ = false;
        return false;
    }
    errNum_ = 0;
    errDescr_.clear();
    return true;
}

bool BreachedList::CheckOrder() {
    std::string previous;
    for (std::uint64_t i = 0; i < kOrderSamples; ++i) {
        const auto line = LineFrom(file_->Size() / kOrderSamples * i);
        if (!line) return false;
        if (line->key.empty()) break;
        if (line->key < previous)
            return Fail(StoreError::ListNotSorted,
                        path_ + " is not sorted by hash: only a list in hash order can be "
                                "searched (such lists are published in that order too)");
        previous = line->key;
    }
    return true;
}

std::optional<BreachedList::Line> BreachedList::LineFrom(std::uint64_t offset) {
    const std::uint64_t size = file_->Size();
    std::string chunk;
    std::uint64_t start = 0;
    std::size_t skip = 0; // where the line starts in chunk
    // Past the end of the line offset - 1 is in, unless that is the start.
    for (std::uint64_t pos = offset == 0 ? 0 : offset - 1; offset > 0;) {
        if (pos >= size) return Line{size, {}, 0};
        if (auto err = file_->ReadAt(pos, kReadChunk, chunk))
            return Missing(StoreError::ListUnreadable, err->descr);
        if (chunk.empty()) return Line{size, {}, 0}; // the file was cut meanwhile
        if (const auto nl = chunk.find('\n'); nl != std::string::npos) {
            start = pos + nl + 1;
            skip = nl + 1;
            break;
        }
        pos += chunk.size();
        if (pos - offset > kLongestLine)
            return Missing(StoreError::NotHashList, path_ + " is not a list of password hashes "
                                                            "(lines of HASH:COUNT)");
    }
    if (start >= size) return Line{size, {}, 0};
    std::string_view text = std::string_view(chunk).substr(std::min(skip, chunk.size()));
    // The line may go on past what was read: read it from its start.
    if (offset == 0 || (text.find('\n') == std::string_view::npos && start + text.size() < size)) {
        if (auto err = file_->ReadAt(start, kReadChunk, chunk))
            return Missing(StoreError::ListUnreadable, err->descr);
        text = chunk;
    }
    return ParseLineAt(start, text);
}

std::optional<BreachedList::Line> BreachedList::ParseLineAt(std::uint64_t start,
                                                            std::string_view text) {
    std::string_view line = text.substr(0, text.find('\n'));
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    auto hash = HashOf(line);
    const auto count = hash ? CountOf(line) : std::nullopt;
    if (!count)
        return Missing(StoreError::NotHashList,
                       path_ + " is not a list of password hashes: the line at byte " +
                           std::to_string(start) + " is not HASH:COUNT");
    return Line{start, std::move(*hash), *count};
}

std::optional<std::uint64_t> BreachedList::TimesSeen(std::string_view password) {
    std::string hash = Sha1Hex(password);
    const auto seen = TimesSeenHash(hash);
    crypto::Wipe(hash.data(), hash.size());
    return seen;
}

std::optional<std::uint64_t> BreachedList::TimesSeenHash(std::string_view hash) {
    if (!open_) return Missing(StoreError::ListUnreadable, "no breached-password list is open");
    const auto target = HashOf(hash);
    if (!target || hash.size() != kHashDigits) return 0; // no SHA-1: never in the list
    // The first line whose hash is not below the target: the line found from
    // an offset moves on with the offset, so the test is monotonic in it.
    std::uint64_t lo = 0;
    std::uint64_t hi = file_->Size();
    while (lo < hi) {
        const std::uint64_t mid = lo + (hi - lo) / 2;
        const auto line = LineFrom(mid);
        if (!line) return std::nullopt;
        if (line->key.empty() || line->key >= *target)
            hi = mid;
        else
            lo = mid + 1;
    }
    const auto line = LineFrom(lo);
    if (!line) return std::nullopt;
    return line->key == *target ? line->count : 0;
}

} // namespace ardeko
