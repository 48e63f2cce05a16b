#include "ShellTheme.h"

#include <QSettings>

namespace {
// 210 Windows 2000, 211 Office XP, 212 Windows XP, 213 Office 2003,
// 214 Visual Studio 2005, 215 to 218 Office 2007 blue, black, silver, aqua.
struct Row {
    QRgb panel, shadow, bandTop, bandBottom, darkEdge, lightEdge, face;
};
constexpr Row kRows[] = {
    {0xd4d0c8, 0x808080, 0xe6e4de, 0xd4d0c8, 0xa8a49c, 0xf0eee8, 0xd4d0c8},
    {0xdbd8d1, 0x8c8a84, 0xf2f1ed, 0xdbd8d1, 0xb0ada6, 0xf6f5f2, 0xe7e5e0},
    {0xece9d8, 0xaca899, 0xfbfaf4, 0xece9d8, 0xc2bfb0, 0xfaf9f2, 0xf1efe2},
    {0xc4daf8, 0x6a8ccb, 0xe3effe, 0xc4daf8, 0x90b0e0, 0xeef5fe, 0xdde9fb},
    {0xe5e3dc, 0x9d9c96, 0xf7f6f2, 0xe5e3dc, 0xb9b7b0, 0xf8f7f4, 0xeeede8},
    {0xd5e4f2, 0x8db2e3, 0xe3edfa, 0xbfdbff, 0xa3c2e8, 0xf1f7fd, 0xe4eef9},
    {0xd9dbe0, 0x6f7378, 0xe8e9ec, 0xc3c6cc, 0xa0a4aa, 0xf3f4f5, 0xe6e7ea},
    {0xdde2ea, 0x9aa3b1, 0xf1f3f6, 0xd0d6df, 0xb3bbc7, 0xf6f7f9, 0xe9ecf1},
    {0xd3e8ee, 0x7fb0bf, 0xe6f3f6, 0xbfdde6, 0x9cc8d4, 0xf0f8fa, 0xe2f0f4},
};
} // namespace

ShellTheme& ShellTheme::Current()
{
    static ShellTheme theme;
    return theme;
}

ShellColours ShellTheme::ColoursOf(int number)
{
    const Row& row = kRows[(IsTheme(number) ? number : kDefault) - kFirst];
    return ShellColours{QColor(row.panel),    QColor(row.shadow),    QColor(row.bandTop), QColor(row.bandBottom),
                        QColor(row.darkEdge), QColor(row.lightEdge), QColor(row.face)};
}

void ShellTheme::SetNumber(int number)
{
    if (!IsTheme(number) || number == m_number)
        return;
    m_number = number;
    m_colours = ColoursOf(number);
    emit Changed(number);
}

void ShellTheme::Load()
{
    QSettings profile(QStringLiteral("Qem"), QStringLiteral("Kelvana"));
    const int stored = profile.value(QStringLiteral("Settings/ApplicationLook"), kDefault).toInt();
    SetNumber(IsTheme(stored) ? stored : kDefault);
}

void ShellTheme::Save() const
{
    QSettings profile(QStringLiteral("Qem"), QStringLiteral("Kelvana"));
    profile.setValue(QStringLiteral("Settings/ApplicationLook"), m_number);
}
