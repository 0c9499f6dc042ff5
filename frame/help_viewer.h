// The help window: a browser over the help pages compiled into the program.
#pragma once

#include <QWidget>

class QTextBrowser;
class QUrl;

namespace qvs {

class HelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit HelpViewer(QWidget* owner);

    void ShowTopic(int topic);
    // Moves the window to another owner, keeping its place and size.
    void SetOwner(QWidget* owner);
    QString CurrentPage() const;

private:
    void FollowLink(const QUrl& link);

    QTextBrowser* browser_;
};

} // namespace qvs
