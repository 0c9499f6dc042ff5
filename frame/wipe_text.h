// Qt's strings free their memory without clearing it: a password typed into
// a dialog is overwritten here once it has been used.
#pragma once

#include <QByteArray>
#include <QString>

#include <string_view>

namespace qvs {

// Overwrites every character the string holds, then empties it. Data shared
// with another string is only let go: that holder wipes its own.
void WipeText(QString& text);
void WipeText(QByteArray& text);

// A password's UTF-8 bytes for a call into the store, wiped afterwards:
// Store().CheckFilePW(Utf8Secret(typed)).
class Utf8Secret {
public:
    explicit Utf8Secret(const QString& text) : bytes_(text.toUtf8()) {}
    ~Utf8Secret() { WipeText(bytes_); }
    Utf8Secret(const Utf8Secret&) = delete;
    Utf8Secret& operator=(const Utf8Secret&) = delete;
    std::string_view View() const {
        return {bytes_.constData(), static_cast<std::size_t>(bytes_.size())};
    }
    operator std::string_view() const { return View(); }

private:
    QByteArray bytes_;
};

} // namespace qvs
