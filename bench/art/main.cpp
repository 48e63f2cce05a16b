// kelvana_art_export FOLDER: writes the shell's pictures as FOLDER/NAME@1x.png
// and FOLDER/NAME@2x.png.
#include "editor/shell/controls/ShellArt.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

namespace {
const char* StateName(ShellArt::State state)
{
    switch (state) {
    case ShellArt::State::Normal: return "normal";
    case ShellArt::State::Hot: return "hot";
    case ShellArt::State::Pressed: return "pressed";
    case ShellArt::State::Disabled: return "disabled";
    }
    return "";
}
} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 2) {
        err << "usage: kelvana_art_export FOLDER\n";
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        err << "cannot make " << folder << "\n";
        return 1;
    }
    int failures = 0;
    for (int ratio : {1, 2}) {
        const qreal dpr = ratio;
        auto save = [&](const QString& name, const QPixmap& pixmap) {
            const QString path = QStringLiteral("%1/%2@%3x.png").arg(folder, name).arg(ratio);
            if (pixmap.isNull() || !pixmap.save(path)) {
                err << "cannot write " << path << "\n";
                ++failures;
            }
        };
        const ShellArt::State states[] = {ShellArt::State::Normal, ShellArt::State::Hot, ShellArt::State::Pressed,
                                          ShellArt::State::Disabled};
        for (int image : {0, 1, 2})
            save(QStringLiteral("tab-%1").arg(image), ShellArt::Tab(image, QSize(97, 26), dpr));
        for (ShellArt::State state : states) {
            const QString s = QLatin1String(StateName(state));
            save(QStringLiteral("app-button-") + s, ShellArt::AppButton(state, dpr));
            save(QStringLiteral("save-") + s, ShellArt::StepButton(310, state, dpr));
            save(QStringLiteral("next-") + s, ShellArt::StepButton(311, state, dpr));
            save(QStringLiteral("back-") + s, ShellArt::StepButton(312, state, dpr));
            save(QStringLiteral("expand-") + s, ShellArt::Toggle(true, state, dpr));
            save(QStringLiteral("collapse-") + s, ShellArt::Toggle(false, state, dpr));
            save(QStringLiteral("brightness-") + s, ShellArt::SliderButton(324, state, dpr));
            save(QStringLiteral("contrast-") + s, ShellArt::SliderButton(325, state, dpr));
        }
        for (int index : {0, 1, 2, 3, 14, 15, 16})
            save(QStringLiteral("menu-%1").arg(index), ShellArt::MenuImage(index, dpr));
        save(QStringLiteral("existing-album"), ShellArt::ExistingAlbum(dpr));
        save(QStringLiteral("information"), ShellArt::Information(dpr));
        save(QStringLiteral("splash"), ShellArt::Splash(dpr));
    }
    const QIcon icon = ShellArt::AppIcon();
    for (int side : {16, 32, 48, 256}) {
        const QString path = QStringLiteral("%1/app-icon-%2.png").arg(folder).arg(side);
        if (!icon.pixmap(side, side).save(path)) {
            err << "cannot write " << path << "\n";
            ++failures;
        }
    }
    return failures ? 1 : 0;
}
