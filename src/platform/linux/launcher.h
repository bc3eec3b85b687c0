#pragma once

#include <QString>

class QUrl;

// What opening a piece of text comes to: nothing, a program to start, or one argument for the
// desktop's opener (a document or folder path, or a URL).
struct LaunchPlan
{
    enum Kind
    {
        Nothing,
        Program,
        Document,
        Url
    };
    Kind kind = Nothing;
    QString argument;
};

// Decides how `target` is opened: an existing executable regular file is a program, any other
// existing file or folder is opened by path, a bare name of a program on PATH starts that
// program, any other text is taken for a URL.
LaunchPlan planLaunch(const QString& target);

// Starts programs and hands documents and URLs to the desktop, always as one argument of a
// directly started process, never through a shell. The opener command is injectable so tests
// can see what it receives without opening anything.
class Launcher
{
public:
    explicit Launcher(QString opener = QStringLiteral("xdg-open"));

    void open(const QString& target) const;

    const QString& opener() const { return m_opener; }

private:
    // Hands `argument` (a path or URL) to the opener, or `url` to Qt when there is none.
    void openWithDesktop(const QUrl& url, const QString& argument) const;

    QString m_opener;
};
