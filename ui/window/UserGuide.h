#pragma once
// The user guide: HTML pages installed with the program (ProgramData's "guide" folder) and opened in
// the desktop's web browser. Help > User Guide opens its contents; F1 opens the page of the view in
// front. The opener is a hook so that tests see what would be opened.

#include <QString>
#include <QUrl>

#include <functional>

namespace vantor {

class Prompter;

// Opens a URL; false when no program could open it.
using GuideOpener = std::function<bool(const QUrl&)>;
// The desktop's opener (QDesktopServices::openUrl).
GuideOpener DesktopGuideOpener();

// The guide's pages; an anchor names a section ("views.html#spectrum").
namespace guide {
inline constexpr const char* Contents = "index.html";
inline constexpr const char* Tree = "tree.html";
inline constexpr const char* Views = "views.html";
inline constexpr const char* Routes = "routes.html";
inline constexpr const char* Reports = "reports.html";
inline constexpr const char* Alarms = "alarms.html";
inline constexpr const char* Sharing = "sharing.html";
} // namespace guide

class UserGuide {
public:
    explicit UserGuide(QString folder, GuideOpener opener = DesktopGuideOpener());

    void SetOpener(GuideOpener opener) { opener_ = std::move(opener); }
    void SetFolder(QString folder) { folder_ = std::move(folder); }
    const QString& Folder() const { return folder_; }
    // The page's file URL with its anchor; empty when the page's file is missing.
    QUrl PageUrl(const QString& page) const;
    // Opens the page (the contents when the page is missing). Messages go to the prompter: "User
    // Guide not installed" when the guide is missing, the file to open by hand when no program
    // could open it. False after a message.
    bool Open(const QString& page, Prompter& prompter) const;

private:
    QString folder_;
    GuideOpener opener_;
};

} // namespace vantor
