#include "frame/wipe_text.h"

#include <algorithm>
#include <type_traits>

namespace qvs {

namespace {

template <class Text, class Char> void Overwrite(Text& text, Char zero) {
    if (text.isDetached()) {
        // Room before the start and past the end may still hold what an edit
        // removed (a cut at the front only moves the start on).
        auto& data = text.data_ptr();
        using Unit = std::remove_reference_t<decltype(*data.data())>;
        std::fill(data.data() - data.freeSpaceAtBegin(), data.data(), Unit{});
        text.resize(text.capacity());
        std::fill(text.begin(), text.end(), zero);
    }
    text.clear();
}

} // namespace

void WipeText(QString& text) {
    Overwrite(text, QChar());
}

void WipeText(QByteArray& text) {
    Overwrite(text, '\0');
}

} // namespace qvs
