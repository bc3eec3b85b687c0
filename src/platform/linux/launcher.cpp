#include "platform/linux/launcher.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <utility>

LaunchPlan planLaunch(const QString& target)
{
    if (target.isEmpty())
        return {};
    const QFileInfo file(target);
    if (file.exists()) {
        // Absolute, so a name starting with '-' cannot pass for an option of the opener.
        const QString path = file.absoluteFilePath();
        if (file.isFile() && file.isExecutable())
            return {LaunchPlan::Program, path};
        return {LaunchPlan::Document, path};
    }
    // A bare name such as "gedit" starts the program of that name from the search path, as the
    // Windows shell does; a name with a slash or a scheme is a path or an address instead.
    if (!target.contains(QLatin1Char('/')) && !target.contains(QLatin1Char(':'))) {
        const QString program = QStandardPaths::findExecutable(target);
        if (!program.isEmpty())
            return {LaunchPlan::Program, program};
    }
    const QUrl url = QUrl::fromUserInput(target);
    if (!url.isValid() || url.isEmpty())
        return {};
    // Encoded, so the opener gets the URL as the browser will: no blanks or quotes in it.
    return {LaunchPlan::Url, url.toString(QUrl::FullyEncoded)};
}

Launcher::Launcher(QString opener) : m_opener(std::move(opener)) {}

void Launcher::open(const QString& target) const
{
    const LaunchPlan plan = planLaunch(target);
    switch (plan.kind) {
    case LaunchPlan::Nothing:
        break;
    case LaunchPlan::Program:
        // A file marked executable that the system cannot run (a document on a drive that marks
        // every file so) is opened like any other document.
        if (!QProcess::startDetached(plan.argument, {}))
            openWithDesktop(QUrl::fromLocalFile(plan.argument), plan.argument);
        break;
    case LaunchPlan::Document:
        openWithDesktop(QUrl::fromLocalFile(plan.argument), plan.argument);
        break;
    case LaunchPlan::Url:
        openWithDesktop(QUrl(plan.argument, QUrl::StrictMode), plan.argument);
        break;
    }
}

void Launcher::openWithDesktop(const QUrl& url, const QString& argument) const
{
    // Without the opener installed, Qt's own desktop services may still know a way.
    if (!QProcess::startDetached(m_opener, {argument}))
        QDesktopServices::openUrl(url);
}
