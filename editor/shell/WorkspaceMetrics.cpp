#include "editor/shell/WorkspaceMetrics.h"

#include <algorithm>

namespace WorkspaceMetrics {

ClientLayout LayOutClient(const QRect& client)
{
    const int l = client.left(), t = client.top();
    const int r = client.left() + client.width(), b = client.top() + client.height();
    ClientLayout layout;
    layout.step = QRect(l, t, r - l, std::max(0, b - t - kButtonBand));
    layout.band = QRect(l, b - kButtonBand, r - l, kButtonBand);
    layout.save = QRect(QPoint(l + 10, b - 37), kStepButton);
    layout.next = QRect(QPoint(r - 95, b - 37), kStepButton);
    layout.back = QRect(QPoint(r - 190, b - 37), kStepButton);
    return layout;
}

StepButtons ButtonsFor(int step)
{
    return StepButtons{step != 0, step < kStepCount - 1};
}

int NextStep(int step)
{
    return step + 1 < kStepCount ? step + 1 : -1;
}

int PreviousStep(int step)
{
    return step - 1 >= 0 ? step - 1 : -1;
}

SplitterRows RowsFor(int insideHeight, bool collapsed, int allowance)
{
    const int h = std::max(0, insideHeight);
    if (collapsed)
        return SplitterRows{0, std::max(0, h - kSplitterBar)};
    return SplitterRows{2 * h / 3, std::max(0, h / 3 - allowance)};
}

QRect ToggleRect(const QRect& bar)
{
    const int x = bar.left() + (bar.width() - kToggleButton.width()) / 2;
    return QRect(QPoint(x, bar.top() + 3), kToggleButton);
}

int EditLowerArea(int windowHeight)
{
    if (windowHeight <= 600)
        return 150;
    return std::min(windowHeight - 450, 325);
}

EditLayout LayOutEdit(const QRect& client, int windowHeight)
{
    const int l = client.left(), t = client.top();
    const int r = client.left() + client.width(), b = client.top() + client.height();
    const int a = EditLowerArea(windowHeight);
    const int y0 = (b - t) - a;
    EditLayout layout;
    layout.strip = QRect(0, y0, r - l, 96);
    layout.effectList = QRect(0, y0 + 96, r - l, std::max(0, (b - t) - y0 - 97));
    layout.pane = QRect(l, t, r - l, std::max(0, b - a - 2 * t));
    return layout;
}

ExplorerPaneLayout LayOutExplorerPane(const QRect& client)
{
    const int l = client.left(), t = client.top();
    const int r = client.left() + client.width(), b = client.top() + client.height();
    ExplorerPaneLayout layout;
    layout.header = QRect(l, t, r - l, 20);
    layout.band = QRect(l, t + 20, r - l, 30);
    layout.button = QRect(l + 3, t + 23, 130, 24);
    layout.tree = QRect(l, t + 50, r - l, std::max(0, b - (t + 50)));
    return layout;
}

QString ProjectFolderOfDrop(const QStringList& paths, bool (*isFolder)(const QString&))
{
    if (paths.isEmpty())
        return QString();
    const QString& path = paths.first();
    if (path.size() < 5 || !path.endsWith(QLatin1String(".qem"), Qt::CaseSensitive) || isFolder(path))
        return QString();
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    return slash <= 0 ? QStringLiteral("/") : path.left(slash);
}

} // namespace WorkspaceMetrics
