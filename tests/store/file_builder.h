// Writes data files byte by byte from the format's layout, independently of
// the store's own writer, so the reader is checked against the format itself
// (older versions, plain files, other writers' seeds).
#pragma once

#include "store/codepage.h"
#include "store/legacy/encrypt.h"
#include "store/records.h"

#include <QFile>
#include <string>
#include <type_traits>

class FileBuilder {
public:
    // cipher: an initialised cipher for an enciphered file, nullptr for a plain one.
    FileBuilder(const std::string& version, std::int32_t seed, const std::string& password,
                ardeko::clsEncrypt* cipher)
        : c_(cipher) {
        Write(version);
        I32(seed);
        const std::string pw = Cp(password);
        Write(c_ ? c_->EncString(pw, false) : pw);
        I16(c_ ? -1 : 0);
    }

    void Count(std::int16_t n) { I16(c_ ? c_->EncInt(n, false) : n); }

    void Categ(ardeko::T_Categ r) {
        Field(r.Codcat);
        Field(r.DescrCat);
        Field(r.TVExp);
        Write(r.Codcat);
        Write(r.DescrCat);
        Write(r.TVExp);
    }
    // The cipher takes the category code first; the file holds the subcategory code first.
    void SCateg(ardeko::T_SCateg r) {
        Field(r.Codcat);
        Field(r.CodSCat);
        Field(r.DescrSCat);
        Write(r.CodSCat);
        Write(r.Codcat);
        Write(r.DescrSCat);
    }
    void Password(ardeko::T_Password r) {
        ardeko::VisitFields(r, [this](const char*, auto& f) {
            Field(f);
            Write(f);
        });
    }
    void Node(ardeko::T_Node r) {
        Field(r.DescrCat);
        Field(r.TVExp);
        Write(r.DescrCat);
        Write(r.TVExp);
    }

    const std::string& Bytes() const { return out_; }
    bool SaveTo(const QString& path, std::size_t cut = std::string::npos) const {
        QFile f(path);
        return f.open(QIODevice::WriteOnly) &&
               f.write(out_.data(), static_cast<qint64>(std::min(cut, out_.size()))) >= 0;
    }

private:
    static std::string Cp(const std::string& utf8) { return ardeko::Utf8ToCp1252(utf8).bytes; }

    void Field(std::string& v) {
        v = Cp(v);
        if (c_) v = c_->EncString(v, true);
    }
    void Field(std::int16_t& v) {
        if (c_) v = c_->EncInt(v, true);
    }
    void Field(bool& v) {
        if (c_) v = c_->FlipBool(v, true);
    }
    void Field(double& v) {
        if (c_) v = c_->EncDate(v, true);
    }

    void Write(const std::string& v) {
        I16(static_cast<std::int16_t>(v.size()));
        out_ += v;
    }
    void Write(std::int16_t v) { I16(v); }
    void Write(bool v) { I16(v ? -1 : 0); }
    void Write(double v) { Raw(&v, 8); }

    void I16(std::int16_t v) { Raw(&v, 2); }
    void I32(std::int32_t v) { Raw(&v, 4); }
    void Raw(const void* p, std::size_t n) { out_.append(static_cast<const char*>(p), n); }

    ardeko::clsEncrypt* c_;
    std::string out_;
};
