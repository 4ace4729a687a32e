#include "ui/window/UserGuide.h"

#include "platform/Prompter.h"
#include "texts/UiText.h"
#include "ui/common/Log.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

#include <utility>

namespace vantor {

GuideOpener DesktopGuideOpener() {
    return [](const QUrl& url) { return QDesktopServices::openUrl(url); };
}

UserGuide::UserGuide(QString folder, GuideOpener opener)
    : folder_(std::move(folder)), opener_(std::move(opener)) {}

QUrl UserGuide::PageUrl(const QString& page) const {
    const qsizetype hash = page.indexOf(u'#');
    const QString file = QDir(folder_).filePath(hash < 0 ? page : page.left(hash));
    if (!QFileInfo(file).isFile()) {
        return {};
    }
    QUrl url = QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath());
    if (hash >= 0) {
        url.setFragment(page.mid(hash + 1));
    }
    return url;
}

bool UserGuide::Open(const QString& page, Prompter& prompter) const {
    QUrl url = PageUrl(page);
    if (url.isEmpty()) {
        url = PageUrl(QLatin1String(guide::Contents));
    }
    if (url.isEmpty()) {
        qCWarning(lcUi) << "the user guide is not installed in" << folder_;
        prompter.ShowMessage(UiText(text::UserGuideNotInstalled));
        return false;
    }
    if (!opener_ || !opener_(url)) {
        qCWarning(lcUi) << "no program opened the user guide page" << url;
        prompter.ShowMessage(
            UiText(text::added::GuideNotOpened).arg(QDir::toNativeSeparators(url.toLocalFile())));
        return false;
    }
    return true;
}

} // namespace vantor
