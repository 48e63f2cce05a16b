#include "common/MoviePlayerCheck.h"

#include <QString>
#include <QWebEngineView>
#include <QtWebEngineCore/qtwebenginecoreglobal.h>
#include <memory>

namespace MoviePlayerCheck {

int Version()
{
    const char* version = qWebEngineChromiumVersion();
    if (!version)
        return 0;
    return QString::fromLatin1(version).section(QLatin1Char('.'), 0, 0).toInt();
}

bool Creatable()
{
    auto view = std::make_unique<QWebEngineView>();
    return view->page() != nullptr;
}

} // namespace MoviePlayerCheck
