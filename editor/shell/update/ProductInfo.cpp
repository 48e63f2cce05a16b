#include "editor/shell/update/ProductInfo.h"

#include <QSettings>

bool CProductInfo::ReadProductInfo(const QString& productName)
{
    m_productName = productName;
    const QSettings record(QSettings::SystemScope, QStringLiteral("Orlemo"), productName);
    const QString id = record.value(QStringLiteral("Product ID")).toString();
    const QString version = record.value(QStringLiteral("Version")).toString();
    const QString build = record.value(QStringLiteral("Build")).toString();
    if (id.isEmpty() || version.isEmpty() || build.isEmpty()) {
        m_productId.clear();
        m_version.clear();
        m_build.clear();
        return false;
    }
    m_productId = id;
    m_version = version;
    m_build = build;
    return true;
}
