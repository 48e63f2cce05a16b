#include "tests/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>

namespace TestSupport {

QString TempDir()
{
    QString temp = QDir::tempPath();
    return temp.endsWith(QLatin1Char('/')) ? temp : temp + QLatin1Char('/');
}

QString MakeFolder(const QString& name)
{
    const QString path = TempDir() + name;
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    return path;
}

QString WritePhoto(const QString& path, int width, int height, QColor tint)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, width, height);
    gradient.setColorAt(0, tint);
    gradient.setColorAt(1, tint.darker(300));
    painter.fillRect(image.rect(), gradient);
    painter.setBrush(QColor(255, 255, 255));
    painter.drawEllipse(QRect(width / 4, height / 4, width / 2, height / 2));
    painter.end();
    QDir().mkpath(QFileInfo(path).absolutePath());
    image.save(path);
    return path;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

QString AppDir() { return QStringLiteral(KELVANA_APP_DIR); }
QString DataDir() { return QStringLiteral(KELVANA_TEST_DATA); }

} // namespace TestSupport
