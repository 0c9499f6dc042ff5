// Export documents written to files: folder/fileName[nameSuffix]extension,
// readable and writable by the user only, as they hold passwords in clear.
#pragma once

#include "store/export/export_writer.h"

#include <QFile>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

namespace qvs {

class FileSink : public ardeko::FormatSink {
public:
    FileSink(std::unique_ptr<ardeko::ExportFormat> format, QString folder, QString fileName,
             QString extension);

    void Begin(const std::string& nameSuffix) override;
    void End() override;
    bool Failed() const override { return !error_.isEmpty(); }

    // The system's reason, with the file it concerns.
    const QString& Error() const { return error_; }
    const QStringList& Written() const { return written_; }
    // "intended -> written" for each group file whose name an earlier group
    // of this export had already taken.
    const QStringList& Renamed() const { return renamed_; }

private:
    void Write(const std::string& text) override;
    void Fail();
    QString UniqueName(const QString& wanted);

    QString folder_, fileName_, extension_;
    QFile file_;
    QString error_;
    QStringList written_, renamed_;
    QSet<QString> taken_; // names of this export, folded to lower case
};

} // namespace qvs
