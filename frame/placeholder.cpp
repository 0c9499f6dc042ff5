// Keeps the library non-empty while its parts are being written.
namespace qvs {
int FramePlaceholder() { return 0; }
} // namespace qvs
