// The installed product's record, written by the install step into the
// system-scope settings of organisation "Orlemo" under the product's name and
// only read here. A copy of the program that was never installed has none.
#pragma once

#include <QString>

class CProductInfo {
public:
    // Reads "Product ID", "Version" and "Build"; true only when all three are
    // present and not empty. On false the record keeps no values.
    bool ReadProductInfo(const QString& productName);

    QString ProductName() const { return m_productName; }
    QString ProductId() const { return m_productId; }
    QString Version() const { return m_version; }
    QString Build() const { return m_build; }

private:
    QString m_productName;
    QString m_productId;
    QString m_version;
    QString m_build;
};
