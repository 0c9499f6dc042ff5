#include "frame/wipe_text.h"

#include <algorithm>

namespace qvs {

namespace {

template <class Text, class Char> void Overwrite(Text& text, Char zero) {
    if (text.isDetached()) {
        // Room past the end may still hold what an edit removed.
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
