#include "preferences/ProductInfo.h"

#include <QCoreApplication>
#include <QDesktopServices>

QString ProductInfo::appVersion()
{
    return QCoreApplication::applicationVersion();
}

UrlOpener browserOpener()
{
    return [](const QUrl& url) { return QDesktopServices::openUrl(url); };
}
