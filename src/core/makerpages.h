#pragma once

#include <QString>

// The maker's addresses. The main window's link label shows the home page and a click opens the
// same text; it is also the URL field's default. The action dialog's question mark opens the
// personal page.
namespace MakerPages {

inline QString homePage()
{
    return QStringLiteral("www.vokari.org");
}

inline QString personalPage()
{
    return QStringLiteral("www.vokari.org/maker");
}

} // namespace MakerPages
